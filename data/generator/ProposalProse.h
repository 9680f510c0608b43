#pragma once

#include <string>

#include "Catalog.h"
#include "DeterministicRandom.h"
#include "SampleProposal.h"

namespace ponencias::sample {

// Writes a proposal's title and summary in Spanish from the catalog's phrase banks: what the
// speaker finds wrong, what they ask for and which laws it would change, all from the proposal's
// classification, origin, speaker and laws.
class ProposalProse {
public:
    explicit ProposalProse(DeterministicRandom& random) : random_(random) {}

    // Fills the title and the summary columns.
    void write(SampleProposal& p);

private:
    std::string pickAction(const Subtopic& subtopic, const std::string& category);
    std::string title(const SampleProposal& p, const std::string& action);
    std::string summary(const SampleProposal& p, const std::string& action);
    std::string subject(const SampleProposal& p);
    std::string diagnosis(const SampleProposal& p);
    std::string proposal(const SampleProposal& p, const std::string& action);
    std::string lawsToModify(const SampleProposal& p);

    DeterministicRandom& random_;
};

}  // namespace ponencias::sample
