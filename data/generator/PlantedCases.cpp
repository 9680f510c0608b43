#include "PlantedCases.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Catalog.h"

namespace ponencias::sample {
namespace {

struct PlantedTopic {
    int folio;
    std::size_t axis;
    const char* subtopic;
    const char* category;
    const char* place;
    std::vector<int> laws;
};

// Proposals whose laws the tests rely on: the Ley del Servicio Exterior Mexicano is named only in
// the second column of 1234 and the fourth of 2871; 2345 names five laws, the last the Ley General
// de Educación, which no other proposal names.
const std::vector<PlantedTopic>& PlantedTopics() {
    static const std::vector<PlantedTopic> topics = {
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
    return topics;
}

struct PlantedBlank {
    int folio;
    Column column;
    bool null;  // NULL, or else the empty text
};

const std::vector<PlantedBlank>& PlantedBlanks() {
    static const std::vector<PlantedBlank> blanks = {
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
    return blanks;
}

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

}  // namespace

void PlantTopic(SampleProposal& p) {
    for (const PlantedTopic& t : PlantedTopics()) {
        if (t.folio == p.folio) {
            p.axis = t.axis;
            p.subtopic = SubtopicIndex(t.axis, t.subtopic);
            p.category = t.category;
            p.place = t.place;
            p.abroad = std::string(t.place) != "Puebla";
            p.laws = t.laws;
        }
    }
}

void PlantBlanks(std::vector<SampleProposal>& proposals) {
    for (SampleProposal& p : proposals) {
        for (const PlantedBlank& b : PlantedBlanks()) {
            if (p.folio == b.folio) {
                p.values[b.column] = b.null ? Value() : Value("");
            }
        }
    }
}

}  // namespace ponencias::sample
