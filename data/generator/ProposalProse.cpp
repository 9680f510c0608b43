#include "ProposalProse.h"

#include <vector>

namespace ponencias::sample {
namespace {

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

std::string LowerFirst(const std::string& text) {
    std::string result = text;
    if (!result.empty() && result[0] >= 'A' && result[0] <= 'Z') {
        result[0] = static_cast<char>(result[0] - 'A' + 'a');
    }
    return result;
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

std::string Replace(std::string text, const std::string& slot, const std::string& value) {
    const std::size_t at = text.find(slot);
    if (at != std::string::npos) {
        text.replace(at, slot.size(), value);
    }
    return text;
}

std::string LawReference(int law) {
    const Law& l = kLaws[static_cast<std::size_t>(law)];
    return std::string(l.article) + " " + l.name;
}

// Whether an action speaks of the category: they share a word of six letters or more, compared
// by its first six, so that "casillas" meets "casilla" and "electorales" meets "electoral".
bool SharesAWord(const std::string& action, const std::string& category) {
    const std::string name = Folded(category);
    const std::string text = Folded(action);
    std::size_t start = 0;
    while (start < name.size()) {
        std::size_t end = name.find_first_of(" ():'", start);
        if (end == std::string::npos) {
            end = name.size();
        }
        // Words found all over the catalog say nothing about the topic.
        const std::string stem = name.substr(start, 6);
        if (end - start >= 6 && stem != "electo" && stem != "partid" && stem != "proces" &&
            stem != "ciudad" && text.find(stem) != std::string::npos) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

void ProposalProse::write(SampleProposal& p) {
    const std::string action = pickAction(p.subtopicEntry(), p.category);
    p.values[kTitulo] = title(p, action);
    p.values[kResumen] = summary(p, action);
}

// The action of a proposal mostly speaks of its category: prefer the subtopic's actions that
// share a word with the category's name.
std::string ProposalProse::pickAction(const Subtopic& subtopic, const std::string& category) {
    std::vector<const char*> related;
    for (const char* action : subtopic.actions) {
        if (SharesAWord(action, category)) {
            related.push_back(action);
        }
    }
    if (!related.empty() && random_.chance(0.8)) {
        return random_.pick(related);
    }
    return random_.pick(subtopic.actions);
}

std::string ProposalProse::title(const SampleProposal& p, const std::string& action) {
    const std::string topic = InSentence(p.category);
    switch (random_.below(11)) {
        case 0:
        case 1:
            return Capitalized(action);
        case 2:
            return "Propuesta para " + action;
        case 3:
            return "Propuesta en materia de " + topic;
        case 4:
            return p.category + ": " + random_.pick(kTitleTails);
        case 5:
            return "Reforma en materia de " + topic;
        case 6:
            return Capitalized(action) + ": " + random_.pick(kActionTails);
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

// What is wrong, what is proposed and, if any, which laws.
std::string ProposalProse::summary(const SampleProposal& p, const std::string& action) {
    std::string text = diagnosis(p);
    text += proposal(p, action);
    text += lawsToModify(p);
    return text;
}

std::string ProposalProse::subject(const SampleProposal& p) {
    const bool woman = p.sex == "Mujer";
    if (p.profile == "Organización de la sociedad civil") {
        return "La organización ponente";
    }
    if (p.sex != "Hombre" && !woman) {
        return "Quien presenta la ponencia";
    }
    if (random_.chance(0.5)) {
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

std::string ProposalProse::diagnosis(const SampleProposal& p) {
    const std::string who = subject(p);
    const std::string verb = random_.pick(kSpeakerVerbs);
    const std::string what = Replace(random_.pick(kDiagnoses), "{t}", InSentence(p.category));
    if (!p.place.empty() && random_.chance(0.18)) {
        return (p.abroad ? "Desde " + p.place + ", "
                         : "Con base en su experiencia en " + p.place + ", ") +
               LowerFirst(who) + " " + verb + " que " + what + ".";
    }
    return who + " " + verb + " que " + what + ".";
}

std::string ProposalProse::proposal(const SampleProposal& p, const std::string& action) {
    std::string text;
    const std::string purpose = random_.pick(kPurposes);
    switch (random_.below(4)) {
        case 0:
            text = " Por ello, propone " + action + ", " + purpose + ".";
            break;
        case 1:
            text = " En consecuencia, plantea " + action + ".";
            break;
        case 2:
            text = " Su propuesta consiste en " + action + ", " + purpose + ".";
            break;
        default:
            text = " Propone " + action + " " + purpose + ".";
            break;
    }
    const Subtopic& subtopic = p.subtopicEntry();
    if (subtopic.actions.size() > 1 && random_.chance(0.3)) {
        const std::string second = random_.pick(subtopic.actions);
        if (second != action) {
            text += " Asimismo, sugiere " + second + ".";
        }
    }
    if (random_.chance(0.55)) {
        text += std::string(" ") + random_.pick(kElaborations);
    }
    return text;
}

std::string ProposalProse::lawsToModify(const SampleProposal& p) {
    if (p.laws.empty()) {
        return {};
    }
    std::string reference;
    if (p.laws[0] == kCpeum && random_.chance(0.4)) {
        static const std::vector<const char*> articles = {"35", "36", "41", "99", "116"};
        reference =
            std::string("el artículo ") + random_.pick(articles) + " de " + LawReference(kCpeum);
    } else {
        reference = LawReference(p.laws[0]);
    }
    if (p.laws.size() == 2) {
        reference += " y " + LawReference(p.laws[1]);
    } else if (p.laws.size() > 2) {
        reference += ", " + LawReference(p.laws[1]) + " y otros ordenamientos";
    }
    return random_.chance(0.5) ? " Para ello plantea reformar " + reference + "."
                               : " La propuesta implica modificar " + reference + ".";
}

}  // namespace ponencias::sample
