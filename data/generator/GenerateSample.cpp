// Writes the bundled sample proposal store: an SQLite database named like the consultation's
// Access file, with one PONENCIAS table of 3,420 proposals composed from the catalog.
//
//     ponencias-sample-generator OUTPUT
//
// The output is the same, byte for byte, on every run: a fixed seed, a generator of our own
// (the standard distributions differ between library versions), no clock and no addresses.

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "Catalog.h"
#include "store/ProposalTable.h"

namespace ponencias::sample {
namespace {

constexpr int kProposalCount = 3420;
constexpr int kEventCount = 32;
constexpr std::uint64_t kSeed = 20070427;

// splitmix64: small, well mixed and the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    // In [0, 1), from the top 53 bits.
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }

    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }
    template <typename T>
    std::size_t pickWeighted(const std::vector<T>& items) {
        int total = 0;
        for (const T& item : items) {
            total += item.weight;
        }
        int r = below(total);
        for (std::size_t i = 0; i < items.size(); ++i) {
            r -= items[i].weight;
            if (r < 0) {
                return i;
            }
        }
        return items.size() - 1;
    }

private:
    std::uint64_t state_;
};

using Value = std::optional<std::string>;  // nullopt is NULL in the table

enum Column {
    kFolio,
    kId,
    kEstado,
    kEdad,
    kSexo,
    kPerfil,
    kJornada,
    kEje,
    kSubtema,
    kCategoria,
    kTitulo,
    kResumen,
    kLaw1,
};
constexpr int kColumnCount = 17;

struct Proposal {
    std::array<Value, kColumnCount> values;
    // The classification and origin the texts are written from, before any planted blank.
    std::size_t axis = 0;
    std::size_t subtopic = 0;
    std::string category;
    std::string place;
    bool abroad = false;
    std::string sex;
    std::string profile;
    std::vector<int> laws;
};

// Lower-cases the first letter of a category so that it reads inside a sentence; names of
// institutions and acronyms keep their capitals.
std::string InSentence(const std::string& text) {
    for (const char* proper : {"Fiscalía", "Tribunal", "Instituto"}) {
        if (text.rfind(proper, 0) == 0) {
            return text;
        }
    }
    std::string result = text;
    if (result.size() > 1 && result[0] >= 'A' && result[0] <= 'Z' &&
        !(result[1] >= 'A' && result[1] <= 'Z')) {
        result[0] = static_cast<char>(result[0] - 'A' + 'a');
    } else if (result.rfind("Ó", 0) == 0) {
        result.replace(0, std::string("Ó").size(), "ó");
    }
    return result;
}

std::string Capitalized(const std::string& text) {
    std::string result = text;
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z') {
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    }
    return result;
}

std::string Replace(std::string text, const std::string& slot, const std::string& value) {
    const std::size_t at = text.find(slot);
    if (at != std::string::npos) {
        text.replace(at, slot.size(), value);
    }
    return text;
}

// Folios were given as the documents were filed, which follows the order of capture only
// roughly: short runs of neighbouring folios are out of order.
std::vector<int> FilingOrder(Random& random) {
    std::vector<int> folios(kProposalCount);
    for (int i = 0; i < kProposalCount; ++i) {
        folios[static_cast<std::size_t>(i)] = i + 1;
    }
    std::size_t start = 0;
    while (start < folios.size()) {
        const std::size_t length = std::min<std::size_t>(
            static_cast<std::size_t>(random.between(2, 12)), folios.size() - start);
        if (random.chance(0.5)) {
            for (std::size_t i = length; i > 1; --i) {
                std::swap(
                    folios[start + i - 1],
                    folios[start + static_cast<std::size_t>(random.below(static_cast<int>(i)))]);
            }
        }
        start += length;
    }
    return folios;
}

std::vector<int> DrawLaws(Random& random, const Axis& axis) {
    const double r = random.unit();
    int count = 0;
    if (r < 0.13) {
        return {};  // "No aplica" or nothing at all, decided by the caller
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
        const std::size_t i = random.pickWeighted(pool);
        laws.push_back(pool[i].law);
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return laws;
}

std::string Subject(Random& random, const Proposal& p) {
    const bool woman = p.sex == "Mujer";
    if (p.profile == "Organización de la sociedad civil") {
        return "La organización ponente";
    }
    if (p.sex != "Hombre" && !woman) {
        return "Quien presenta la ponencia";
    }
    if (random.chance(0.5)) {
        if (p.profile == "Académico") {
            return woman ? "La académica" : "El académico";
        }
        if (p.profile == "Estudiante") {
            return woman ? "La estudiante" : "El estudiante";
        }
        if (p.profile == "Legislador") {
            return woman ? "La legisladora" : "El legislador";
        }
        if (p.profile == "Funcionario electoral") {
            return woman ? "La funcionaria electoral" : "El funcionario electoral";
        }
    }
    return woman ? "La ponente" : "El ponente";
}

std::string LowerFirst(const std::string& text) {
    std::string result = text;
    if (!result.empty() && result[0] >= 'A' && result[0] <= 'Z') {
        result[0] = static_cast<char>(result[0] - 'A' + 'a');
    }
    return result;
}

std::string LawReference(int law) {
    const Law& l = kLaws[static_cast<std::size_t>(law)];
    return std::string(l.article) + " " + l.name;
}

// Lower case for plain ASCII letters; enough to compare the catalog's words.
std::string Folded(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

// The action of a proposal mostly speaks of its category: prefer the subtopic's actions that
// share a word with the category's name.
std::string PickAction(Random& random, const Subtopic& subtopic, const std::string& category) {
    std::vector<const char*> related;
    const std::string name = Folded(category);
    for (const char* action : subtopic.actions) {
        const std::string text = Folded(action);
        std::size_t start = 0;
        bool shares = false;
        while (start < name.size() && !shares) {
            std::size_t end = name.find_first_of(" ():'", start);
            if (end == std::string::npos) {
                end = name.size();
            }
            // Words of six letters or more, compared by their first six, so that "casillas"
            // meets "casilla" and "electorales" meets "electoral".
            // Words found all over the catalog say nothing about the topic.
            const std::string stem = name.substr(start, 6);
            if (end - start >= 6 && stem != "electo" && stem != "partid" && stem != "proces" &&
                stem != "ciudad") {
                shares = text.find(stem) != std::string::npos;
            }
            start = end + 1;
        }
        if (shares) {
            related.push_back(action);
        }
    }
    if (!related.empty() && random.chance(0.8)) {
        return random.pick(related);
    }
    return random.pick(subtopic.actions);
}

std::string ComposeTitle(Random& random, const Proposal& p, const std::string& action) {
    const std::string topic = InSentence(p.category);
    switch (random.below(11)) {
        case 0:
        case 1:
            return Capitalized(action);
        case 2:
            return "Propuesta para " + action;
        case 3:
            return "Propuesta en materia de " + topic;
        case 4:
            return p.category + ": " + random.pick(kTitleTails);
        case 5:
            return "Reforma en materia de " + topic;
        case 6:
            return Capitalized(action) + ": " + random.pick(kActionTails);
        case 7:
            return "Iniciativa para " + action;
        case 8:
            return "Reflexiones y propuestas en materia de " + topic;
        case 9:
            if (!p.place.empty()) {
                return "Propuesta desde " + p.place + " para " + action;
            }
            return "Propuesta ciudadana para " + action;
        default:
            return "Es necesario " + action;
    }
}

std::string ComposeSummary(Random& random, const Proposal& p, const std::string& action) {
    const Subtopic& subtopic = kAxes[p.axis].subtopics[p.subtopic];
    const std::string subject = Subject(random, p);
    std::string text;

    // What is wrong.
    const std::string verb = random.pick(kSpeakerVerbs);
    const std::string diagnosis = Replace(random.pick(kDiagnoses), "{t}", InSentence(p.category));
    if (!p.place.empty() && random.chance(0.18)) {
        text = (p.abroad ? "Desde " + p.place + ", "
                         : "Con base en su experiencia en " + p.place + ", ") +
               LowerFirst(subject) + " " + verb + " que " + diagnosis + ".";
    } else {
        text = subject + " " + verb + " que " + diagnosis + ".";
    }

    // What is proposed.
    const std::string purpose = random.pick(kPurposes);
    switch (random.below(4)) {
        case 0:
            text += " Por ello, propone " + action + ", " + purpose + ".";
            break;
        case 1:
            text += " En consecuencia, plantea " + action + ".";
            break;
        case 2:
            text += " Su propuesta consiste en " + action + ", " + purpose + ".";
            break;
        default:
            text += " Propone " + action + " " + purpose + ".";
            break;
    }
    if (subtopic.actions.size() > 1 && random.chance(0.3)) {
        const std::string second = random.pick(subtopic.actions);
        if (second != action) {
            text += " Asimismo, sugiere " + second + ".";
        }
    }
    if (random.chance(0.55)) {
        text += std::string(" ") + random.pick(kElaborations);
    }

    // Which laws.
    if (!p.laws.empty()) {
        std::string reference;
        if (p.laws[0] == kCpeum && random.chance(0.4)) {
            static const std::vector<const char*> articles = {"35", "36", "41", "99", "116"};
            reference =
                std::string("el artículo ") + random.pick(articles) + " de " + LawReference(kCpeum);
        } else {
            reference = LawReference(p.laws[0]);
        }
        if (p.laws.size() == 2) {
            reference += " y " + LawReference(p.laws[1]);
        } else if (p.laws.size() > 2) {
            reference += ", " + LawReference(p.laws[1]) + " y otros ordenamientos";
        }
        text += random.chance(0.5) ? " Para ello plantea reformar " + reference + "."
                                   : " La propuesta implica modificar " + reference + ".";
    }
    return text;
}

struct PlantedTopic {
    int folio;
    std::size_t axis;
    const char* subtopic;
    const char* category;
    const char* place;
    std::vector<int> laws;
};

std::size_t SubtopicIndex(std::size_t axis, const char* name) {
    const auto& subtopics = kAxes[axis].subtopics;
    for (std::size_t i = 0; i < subtopics.size(); ++i) {
        if (std::string(subtopics[i].name) == name) {
            return i;
        }
    }
    std::fprintf(stderr, "subtema desconocido: %s\n", name);
    std::exit(1);
}

std::vector<Proposal> ComposeProposals() {
    Random random(kSeed);
    const std::vector<int> folios = FilingOrder(random);

    // Each federal entity hosted one event of the consultation; the events were numbered by
    // date, not by the entity's name.
    std::vector<int> hostEvent(kStates.size());
    for (std::size_t i = 0; i < hostEvent.size(); ++i) {
        hostEvent[i] = static_cast<int>(i) + 1;
    }
    for (std::size_t i = hostEvent.size(); i > 1; --i) {
        std::swap(hostEvent[i - 1],
                  hostEvent[static_cast<std::size_t>(random.below(static_cast<int>(i)))]);
    }

    // Proposals whose laws the tests rely on: a law found in one column only, and a proposal
    // naming five laws.
    const std::vector<PlantedTopic> planted = {
        {1234,
         0,
         "Voto de los mexicanos en el extranjero ('voto migrante')",
         "Voto por correo",
         "Canadá",
         {kCofipe, kLsem}},
        {2871,
         0,
         "Voto de los mexicanos en el extranjero ('voto migrante')",
         "Credencialización en el extranjero",
         "Estados Unidos",
         {kCpeum, kCofipe, kLgp, kLsem}},
        {2345,
         4,
         "Educación cívica",
         "Educación cívica en escuelas",
         "Puebla",
         {kCpeum, kCofipe, kLfrt, kLft, kLge}},
    };

    std::vector<Proposal> proposals;
    proposals.reserve(kProposalCount);
    int nextId = 1;
    for (int row = 0; row < kProposalCount; ++row) {
        Proposal p;
        const int folio = folios[static_cast<std::size_t>(row)];
        p.values[kFolio] = std::to_string(folio);
        // An autonumber: records deleted during capture left gaps.
        p.values[kId] = std::to_string(nextId);
        nextId += random.chance(0.04) ? random.between(2, 4) : 1;

        // Where.
        int event = 0;
        p.abroad = random.chance(0.035);
        if (p.abroad) {
            p.place = kCountries[random.pickWeighted(kCountries)].name;
            event = random.between(1, kEventCount);
        } else {
            const std::size_t state = random.pickWeighted(kStates);
            p.place = kStates[state].name;
            event = random.chance(0.75) ? hostEvent[state] : random.between(1, kEventCount);
        }

        // Who.
        p.profile = kProfiles[random.pickWeighted(kProfiles)].name;
        const double s = random.unit();
        p.sex = s < 0.61 ? "Hombre" : s < 0.99 ? "Mujer" : "";
        Value sex = p.sex;
        if (p.sex.empty() && random.chance(0.6)) {
            sex.reset();
        }
        Value age;
        const double a = random.unit();
        if (a >= 0.01) {
            int years = 0;
            if (p.profile == "Estudiante") {
                years = random.between(18, 29);
            } else if (p.profile == "Legislador") {
                years = random.between(32, 68);
            } else {
                years = 18 + (random.below(61) + random.below(61) + random.below(61)) / 3 +
                        random.below(6);
            }
            age = std::to_string(years);
        } else if (a >= 0.004) {
            age = "";
        }

        // What about.
        p.axis = random.pickWeighted(kAxes);
        p.subtopic = random.pickWeighted(kAxes[p.axis].subtopics);
        p.category = random.pick(kAxes[p.axis].subtopics[p.subtopic].categories);
        p.laws = DrawLaws(random, kAxes[p.axis]);
        for (const PlantedTopic& t : planted) {
            if (t.folio == folio) {
                p.axis = t.axis;
                p.subtopic = SubtopicIndex(t.axis, t.subtopic);
                p.category = t.category;
                p.place = t.place;
                p.abroad = std::string(t.place) != "Puebla";
                p.laws = t.laws;
            }
        }
        const Subtopic& subtopic = kAxes[p.axis].subtopics[p.subtopic];

        p.values[kEstado] = p.place;
        p.values[kEdad] = age;
        p.values[kSexo] = sex;
        p.values[kPerfil] = p.profile;
        p.values[kJornada] = std::to_string(event);
        p.values[kEje] = kAxes[p.axis].name;
        p.values[kSubtema] = subtopic.name;
        p.values[kCategoria] = p.category;

        // The laws: unused columns were left empty, set to "No aplica" or never touched.
        const double fill = random.unit();
        const Value unused = fill < 0.3 ? Value("No aplica") : fill < 0.5 ? Value("") : Value();
        for (std::size_t i = 0; i < 5; ++i) {
            p.values[kLaw1 + i] =
                i < p.laws.size() ? Value(kLaws[static_cast<std::size_t>(p.laws[i])].name) : unused;
        }
        if (p.laws.empty()) {
            p.values[kLaw1] = random.chance(0.77) ? Value("No aplica") : unused;
        }

        const std::string action = PickAction(random, subtopic, p.category);
        p.values[kTitulo] = ComposeTitle(random, p, action);
        p.values[kResumen] = ComposeSummary(random, p, action);
        proposals.push_back(std::move(p));
    }

    // Blanks as the capture left them: a few proposals lack a value in a filter column, some
    // as NULL, some as the empty text.
    struct Blank {
        int folio;
        Column column;
        bool null;
    };
    const std::vector<Blank> blanks = {
        {57, kJornada, true},     {2213, kJornada, true},    {1338, kJornada, false},
        {3001, kJornada, false},  {415, kEstado, true},      {2790, kEstado, true},
        {1046, kEstado, false},   {3312, kEstado, false},    {733, kEje, true},
        {2558, kEje, true},       {1902, kEje, false},       {3099, kEje, false},
        {128, kPerfil, true},     {2444, kPerfil, true},     {1611, kPerfil, false},
        {2987, kPerfil, false},   {360, kSubtema, true},     {1777, kSubtema, true},
        {2100, kSubtema, false},  {3250, kSubtema, false},   {999, kCategoria, true},
        {2666, kCategoria, true}, {1499, kCategoria, false}, {3380, kCategoria, false},
        {1650, kTitulo, true},    {2020, kResumen, true},
    };
    for (Proposal& p : proposals) {
        for (const Blank& b : blanks) {
            if (*p.values[kFolio] == std::to_string(b.folio)) {
                p.values[b.column] = b.null ? Value() : Value("");
            }
        }
    }
    return proposals;
}

bool Check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "ponencias-sample-generator: %s: %s\n", what,
                     db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        return false;
    }
    return true;
}

bool WriteDatabase(const std::string& path, const std::vector<Proposal>& proposals) {
    sqlite3* db = nullptr;
    if (!Check(
            sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
            db, "no se pudo crear la base")) {
        sqlite3_close(db);
        return false;
    }
    std::string create = std::string("CREATE TABLE ") + kProposalTable + " (";
    std::string insert = std::string("INSERT INTO ") + kProposalTable + " VALUES (";
    for (std::size_t i = 0; i < kProposalColumns.size(); ++i) {
        create += std::string(i ? ", " : "") + kProposalColumns[i] + " TEXT";
        insert += i ? ", ?" : "?";
    }
    create += ")";
    insert += ")";
    bool ok = Check(sqlite3_exec(db,
                                 "PRAGMA page_size = 4096; PRAGMA journal_mode = OFF; "
                                 "PRAGMA encoding = 'UTF-8'",
                                 nullptr, nullptr, nullptr),
                    db, "PRAGMA") &&
              Check(sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr), db, "CREATE") &&
              Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "BEGIN");
    sqlite3_stmt* statement = nullptr;
    ok = ok && Check(sqlite3_prepare_v2(db, insert.c_str(), -1, &statement, nullptr), db, "INSERT");
    for (const Proposal& p : proposals) {
        if (!ok) {
            break;
        }
        for (int i = 0; i < kColumnCount; ++i) {
            const Value& v = p.values[static_cast<std::size_t>(i)];
            if (v) {
                sqlite3_bind_text(statement, i + 1, v->c_str(), static_cast<int>(v->size()),
                                  SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(statement, i + 1);
            }
        }
        ok = Check(sqlite3_step(statement), db, "INSERT") &&
             Check(sqlite3_reset(statement), db, "INSERT");
    }
    sqlite3_finalize(statement);
    ok = ok && Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "COMMIT");
    ok = Check(sqlite3_close(db), nullptr, "cierre") && ok;
    return ok;
}

}  // namespace
}  // namespace ponencias::sample

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Uso: ponencias-sample-generator ARCHIVO\n", stderr);
        return 1;
    }
    // Written beside the target and moved into place, so an interrupted build never leaves a
    // half-written store where the program looks for one.
    const std::string target = argv[1];
    const std::string partial = target + ".parcial";
    std::remove(partial.c_str());
    if (!ponencias::sample::WriteDatabase(partial, ponencias::sample::ComposeProposals()) ||
        std::rename(partial.c_str(), target.c_str()) != 0) {
        std::remove(partial.c_str());
        std::fprintf(stderr, "ponencias-sample-generator: no se pudo escribir %s\n",
                     target.c_str());
        return 1;
    }
    return 0;
}
