#pragma once

#include <vector>

#include "SampleProposal.h"

namespace ponencias::sample {

// The cases the tests rely on, planted at fixed folios over what was drawn. A class would add
// nothing: two steps of the composition, each over its own table.

// Gives the proposals with a planted topic (a law found in one column only, a proposal naming
// five laws, …) their subtopic, category, place and laws. Called before the columns are filled.
void PlantTopic(SampleProposal& p);

// Blanks as the capture left them: a few proposals lack a value in a filter column, some as NULL,
// some as the empty text; one lacks its title and one its summary.
void PlantBlanks(std::vector<SampleProposal>& proposals);

}  // namespace ponencias::sample
