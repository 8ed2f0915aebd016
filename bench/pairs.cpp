// SPDX-License-Identifier: MIT
#include "pairs.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "names.h"

namespace tessark::bench {

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string baseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The digests of a sha256sum listing, line by line.
std::vector<std::string> digestsIn(const std::string& path) {
    std::vector<std::string> digests;
    std::istringstream lines(readText(path));
    for (std::string line; std::getline(lines, line);) {
        digests.push_back(line.substr(0, 64));
    }
    return digests;
}

void expectDigests(const std::string& listing, const std::vector<std::string>& expected) {
    if (digestsIn(listing) != expected) {
        throw std::runtime_error("MISMATCH: the digests in " + listing);
    }
}

// A checksum file as sha256sum writes it for bare names, in the pieces' folder.
std::string sumLines(const std::vector<std::string>& digests,
                     const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += digests[i] + "  " + baseName(names[i]) + "\n";
    }
    return text;
}

struct Names {
    std::vector<std::string> ref, ours, tool;
    std::string script, ourSums, refSums, refPieceSums, toolPieceSums, toolSourceSums, toolCheckLog,
        mergedSums;
};

Names namesOf(const PairSet& set) {
    const auto in = [&](const char* name) { return set.folder + "/" + name; };
    return {toolPieces(set.reference, set.pieces),
            ourPieces(set.ourTarget, set.pieces),
            toolPieces(set.toolPrefix, set.pieces),
            in("Link.bat"),
            set.ourTarget + ".sha256",
            set.reference + ".sha256",
            in("ref-pieces.sums"),
            in("tool-pieces.sums"),
            in("tool-source.sums"),
            in("tool-check.log"),
            in("merged.sums")};
}

}  // namespace

std::vector<std::string> pairFileNames(const PairSet& set) {
    const Names n = namesOf(set);
    return {n.script,         n.ourSums,      n.refSums,    n.refPieceSums, n.toolPieceSums,
            n.toolSourceSums, n.toolCheckLog, n.mergedSums, set.merged};
}

void racePair(const PairSet& set, Sums sums, const std::string& suffix, int runs,
              CompareBuffers& buffers, std::vector<Series>& all) {
    const Names n = namesOf(set);
    const bool with = sums == Sums::With;
    // The reference digests, from the tool itself; the last is the source's.
    std::vector<std::string> digests;
    if (with) {
        std::vector<std::string> files = n.ref;
        files.push_back(set.source);
        runTool(sumCommand(files), n.refPieceSums);
        digests = digestsIn(n.refPieceSums);
        // What a user's merge checks: the pieces' lines alone with their paths.
        std::string listing = readText(n.refPieceSums);
        listing.erase(listing.rfind('\n', listing.size() - 2) + 1);
        writeText(n.refPieceSums, listing);
        std::vector<std::string> named = n.ref;
        named.push_back(set.reference);
        writeText(n.refSums, sumLines(digests, named));
    }
    const std::vector<std::string> pieceDigests(digests.begin(),
                                                digests.end() - (digests.empty() ? 0 : 1));

    std::vector<std::string> ourOutputs = n.ours;
    ourOutputs.push_back(n.script);
    std::vector<std::string> toolOutputs = n.tool;
    if (with) {
        ourOutputs.push_back(n.ourSums);
        toolOutputs.push_back(n.toolPieceSums);
        toolOutputs.push_back(n.toolSourceSums);
    }
    const std::string splitLabel = "split" + suffix;
    all.push_back(race(
        splitLabel,
        {{"ours",
          [&] {
              return set.measure([&] {
                  return timed(runOurSplit(set.source, set.ourTarget, set.block, set.pieces,
                                           set.copy, sums));
              });
          },
          [&] {
              expectSamePieces(n.ours, n.ref, buffers);
              if (with) {
                  std::vector<std::string> named = n.ours;
                  named.push_back(set.ourTarget);
                  if (readText(n.ourSums) != sumLines(digests, named)) {
                      throw std::runtime_error("MISMATCH: " + n.ourSums);
                  }
              }
          },
          ourOutputs},
         {"coreutils",
          [&] {
              return set.measure([&] {
                  std::vector<ToolRun> steps{runTool(
                      toolSplitCommand(set.source, set.toolPrefix, set.block, set.pieces), "")};
                  if (with) {
                      steps.push_back(runTool(sumCommand(n.tool), n.toolPieceSums));
                      steps.push_back(runTool(sumCommand({set.source}), n.toolSourceSums));
                  }
                  return timed(steps);
              });
          },
          [&] {
              expectSamePieces(n.tool, n.ref, buffers);
              if (with) {
                  expectDigests(n.toolPieceSums, pieceDigests);
                  expectDigests(n.toolSourceSums, {digests.back()});
              }
          },
          toolOutputs}},
        runs, set.folder));

    std::vector<std::string> toolMergeOutputs{set.merged};
    if (with) {
        toolMergeOutputs.push_back(n.toolCheckLog);
        toolMergeOutputs.push_back(n.mergedSums);
    }
    all.push_back(race(
        "merge" + suffix,
        {{"ours",
          [&] {
              return set.measure(
                  [&] { return timed(runOurMerge(n.ref, set.merged, set.copy, sums)); });
          },
          [&] { expectSameBytes({set.merged}, {set.source}, buffers); },
          {set.merged}},
         {"coreutils",
          [&] {
              return set.measure([&] {
                  std::vector<ToolRun> steps;
                  if (with) {
                      steps.push_back(runTool({"sha256sum", "-c", n.refPieceSums}, n.toolCheckLog));
                  }
                  steps.push_back(runTool(catCommand(n.ref), set.merged));
                  if (with) {
                      steps.push_back(runTool(sumCommand({set.merged}), n.mergedSums));
                  }
                  return timed(steps);
              });
          },
          [&] {
              expectSameBytes({set.merged}, {set.source}, buffers);
              if (with) {
                  expectDigests(n.mergedSums, {digests.back()});
              }
          },
          toolMergeOutputs}},
        runs, set.folder));
    if (with) {
        removeAndSettle({n.refSums, n.refPieceSums}, set.folder);
    }
}

}  // namespace tessark::bench
