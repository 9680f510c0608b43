#pragma once

#include <cstddef>
#include <vector>

#include "Catalog.h"
#include "DeterministicRandom.h"
#include "SampleProposal.h"

namespace ponencias::sample {

// Draws the records of the sample in the order they were captured: each one's folio and
// autonumber, where it came from, who presented it, what it is about and which laws it names.
// The texts are written elsewhere (ProposalProse), from what is drawn here.
class ProposalDrawer {
public:
    // Draws the filing order of the folios, then the event each federal entity hosted.
    explicit ProposalDrawer(DeterministicRandom& random);

    // The record captured in position `row`, its classification not yet in its columns, so that
    // a planted case can still set it (recordColumns does that).
    SampleProposal draw(int row);
    // Puts the classification and the laws, as drawn or planted, in their columns, drawing how
    // the law columns a proposal does not use were left.
    void recordColumns(SampleProposal& p);

private:
    std::vector<int> filingOrder();
    std::vector<int> hostEvents();
    int drawOrigin(SampleProposal& p);
    void drawSpeaker(SampleProposal& p);
    void drawTopic(SampleProposal& p);
    std::vector<int> drawLaws(const Axis& axis);

    DeterministicRandom& random_;
    std::vector<int> folios_;
    std::vector<int> hostEvent_;  // by index into kStates
    int nextId_ = 1;
};

}  // namespace ponencias::sample
