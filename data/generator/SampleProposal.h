#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Catalog.h"

namespace ponencias::sample {

constexpr int kProposalCount = 3420;

using Value = std::optional<std::string>;  // nullopt is NULL in the table

// The table's columns, in the order the table declares them; the five laws follow kLaw1.
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
constexpr std::size_t kLawColumnCount = 5;

// One row of the table, with what its texts are written from.
struct SampleProposal {
    std::array<Value, kColumnCount> values;
    int folio = 0;
    // The classification and origin the texts are written from, before any planted blank.
    std::size_t axis = 0;
    std::size_t subtopic = 0;
    std::string category;
    std::string place;
    bool abroad = false;
    std::string sex;
    std::string profile;
    std::vector<int> laws;

    const Subtopic& subtopicEntry() const { return kAxes[axis].subtopics[subtopic]; }
};

}  // namespace ponencias::sample
