// Writes the bundled sample proposal store: an SQLite database named like the consultation's
// Access file, with one PONENCIAS table of 3,420 proposals composed from the catalog.
//
//     ponencias-sample-generator OUTPUT
//
// The output is the same, byte for byte, on every run: a fixed seed, a generator of our own
// (the standard distributions differ between library versions), no clock and no addresses.
// Every record takes its draws from the one source in a fixed order (ProposalDrawer, then
// ProposalProse), so a change to either changes every record after it.

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "DeterministicRandom.h"
#include "PlantedCases.h"
#include "ProposalDrawer.h"
#include "ProposalProse.h"
#include "SampleDatabaseWriter.h"
#include "SampleProposal.h"

namespace ponencias::sample {
namespace {

constexpr std::uint64_t kSeed = 20070427;

std::vector<SampleProposal> ComposeSample() {
    DeterministicRandom random(kSeed);
    ProposalDrawer drawer(random);
    ProposalProse prose(random);
    std::vector<SampleProposal> proposals;
    proposals.reserve(kProposalCount);
    for (int row = 0; row < kProposalCount; ++row) {
        SampleProposal p = drawer.draw(row);
        PlantTopic(p);
        drawer.recordColumns(p);
        prose.write(p);
        proposals.push_back(std::move(p));
    }
    PlantBlanks(proposals);
    return proposals;
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
    ponencias::sample::SampleDatabaseWriter writer;
    if (!writer.write(partial, ponencias::sample::ComposeSample()) ||
        std::rename(partial.c_str(), target.c_str()) != 0) {
        std::remove(partial.c_str());
        std::fprintf(stderr, "ponencias-sample-generator: no se pudo escribir %s\n",
                     target.c_str());
        return 1;
    }
    return 0;
}
