#include "ProposalDrawer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <utility>

namespace ponencias::sample {
namespace {

constexpr int kEventCount = 32;

}  // namespace

ProposalDrawer::ProposalDrawer(DeterministicRandom& random) : random_(random) {
    // The draws come in this order; the sample depends on it.
    folios_ = filingOrder();
    hostEvent_ = hostEvents();
}

// Folios were given as the documents were filed, which follows the order of capture only
// roughly: short runs of neighbouring folios are out of order.
std::vector<int> ProposalDrawer::filingOrder() {
    std::vector<int> folios(kProposalCount);
    for (int i = 0; i < kProposalCount; ++i) {
        folios[static_cast<std::size_t>(i)] = i + 1;
    }
    std::size_t start = 0;
    while (start < folios.size()) {
        const std::size_t length = std::min<std::size_t>(
            static_cast<std::size_t>(random_.between(2, 12)), folios.size() - start);
        if (random_.chance(0.5)) {
            for (std::size_t i = length; i > 1; --i) {
                std::swap(
                    folios[start + i - 1],
                    folios[start + static_cast<std::size_t>(random_.below(static_cast<int>(i)))]);
            }
        }
        start += length;
    }
    return folios;
}

// Each federal entity hosted one event of the consultation; the events were numbered by date,
// not by the entity's name.
std::vector<int> ProposalDrawer::hostEvents() {
    std::vector<int> hostEvent(kStates.size());
    for (std::size_t i = 0; i < hostEvent.size(); ++i) {
        hostEvent[i] = static_cast<int>(i) + 1;
    }
    for (std::size_t i = hostEvent.size(); i > 1; --i) {
        std::swap(hostEvent[i - 1],
                  hostEvent[static_cast<std::size_t>(random_.below(static_cast<int>(i)))]);
    }
    return hostEvent;
}

SampleProposal ProposalDrawer::draw(int row) {
    SampleProposal p;
    p.folio = folios_[static_cast<std::size_t>(row)];
    p.values[kFolio] = std::to_string(p.folio);
    // An autonumber: records deleted during capture left gaps.
    p.values[kId] = std::to_string(nextId_);
    nextId_ += random_.chance(0.04) ? random_.between(2, 4) : 1;

    p.values[kJornada] = std::to_string(drawOrigin(p));
    drawSpeaker(p);
    drawTopic(p);
    return p;
}

// Where the proposal came from; returns the number of the event it was presented at.
int ProposalDrawer::drawOrigin(SampleProposal& p) {
    p.abroad = random_.chance(0.035);
    if (p.abroad) {
        p.place = kCountries[random_.pickWeighted(kCountries)].name;
        return random_.between(1, kEventCount);
    }
    const std::size_t state = random_.pickWeighted(kStates);
    p.place = kStates[state].name;
    return random_.chance(0.75) ? hostEvent_[state] : random_.between(1, kEventCount);
}

void ProposalDrawer::drawSpeaker(SampleProposal& p) {
    p.profile = kProfiles[random_.pickWeighted(kProfiles)].name;
    p.values[kPerfil] = p.profile;
    const double s = random_.unit();
    p.sex = s < 0.61 ? "Hombre" : s < 0.99 ? "Mujer" : "";
    p.values[kSexo] = p.sex;
    if (p.sex.empty() && random_.chance(0.6)) {
        p.values[kSexo].reset();
    }
    const double a = random_.unit();
    if (a >= 0.01) {
        int years = 0;
        if (p.profile == "Estudiante") {
            years = random_.between(18, 29);
        } else if (p.profile == "Legislador") {
            years = random_.between(32, 68);
        } else {
            years = 18 + (random_.below(61) + random_.below(61) + random_.below(61)) / 3 +
                    random_.below(6);
        }
        p.values[kEdad] = std::to_string(years);
    } else if (a >= 0.004) {
        p.values[kEdad] = "";
    }
}

void ProposalDrawer::drawTopic(SampleProposal& p) {
    p.axis = random_.pickWeighted(kAxes);
    p.subtopic = random_.pickWeighted(kAxes[p.axis].subtopics);
    p.category = random_.pick(p.subtopicEntry().categories);
    p.laws = drawLaws(kAxes[p.axis]);
}

// Mostly one or two laws, those of the proposal's axis far more often than the others.
std::vector<int> ProposalDrawer::drawLaws(const Axis& axis) {
    const double r = random_.unit();
    int count = 0;
    if (r < 0.13) {
        return {};  // "No aplica" or nothing at all, decided by recordColumns
    } else if (r < 0.58) {
        count = 1;
    } else if (r < 0.88) {
        count = 2;
    } else if (r < 0.97) {
        count = 3;
    } else if (r < 0.995) {
        count = 4;
    } else {
        count = 5;
    }
    struct Weighted {
        int law;
        int weight;
    };
    std::vector<Weighted> pool;
    const std::array<int, 6> weights = {30, 16, 8, 5, 4, 3};
    for (std::size_t i = 0; i < axis.laws.size(); ++i) {
        pool.push_back({axis.laws[i], weights[std::min<std::size_t>(i, weights.size() - 1)]});
    }
    for (int law = kCpeum; law <= kLfsf; ++law) {
        bool present = false;
        for (const Weighted& w : pool) {
            present = present || w.law == law;
        }
        if (!present) {
            pool.push_back({law, 1});
        }
    }
    std::vector<int> laws;
    while (static_cast<int>(laws.size()) < count && !pool.empty()) {
        const std::size_t i = random_.pickWeighted(pool);
        laws.push_back(pool[i].law);
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return laws;
}

void ProposalDrawer::recordColumns(SampleProposal& p) {
    p.values[kEstado] = p.place;
    p.values[kEje] = kAxes[p.axis].name;
    p.values[kSubtema] = p.subtopicEntry().name;
    p.values[kCategoria] = p.category;

    // The laws: unused columns were left empty, set to "No aplica" or never touched.
    const double fill = random_.unit();
    const Value unused = fill < 0.3 ? Value("No aplica") : fill < 0.5 ? Value("") : Value();
    for (std::size_t i = 0; i < kLawColumnCount; ++i) {
        p.values[kLaw1 + i] =
            i < p.laws.size() ? Value(kLaws[static_cast<std::size_t>(p.laws[i])].name) : unused;
    }
    if (p.laws.empty()) {
        p.values[kLaw1] = random_.chance(0.77) ? Value("No aplica") : unused;
    }
}

}  // namespace ponencias::sample
