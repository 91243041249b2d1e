// Conditional entropy of each byte given the byte before it, kept apart for every position
// of the group: which lane's byte follows which, at which phase. Pooled over the whole image
// the measure is nearly blind for fixed-width code across lanes; per position it is not.
//
// Every lane is cut into two streams, its even and its odd bytes. Each layout then deals the
// 2 x parts streams over the 2 x parts positions of a group of the image, so the pairs of
// neighbouring bytes of every layout come from a few pairs of streams, counted once here
// instead of merging 72 images. Every layout is judged on the same number of pairs, taken
// from the same places: fewer pairs would make an estimate look more certain than it is.
#include "pair_statistics.h"

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <iterator>
#include <map>
#include <tuple>

namespace {

constexpr std::size_t kSampleLimit = 0x100000;   // pairs per neighbour relation
constexpr int kUnrelated = 2;                     // a stream against its own mirror image

// A neighbour relation: stream a's byte i followed by stream b's byte i + step.
using Relation = std::tuple<int, int, int>;

struct Streams {
    const std::vector<Bytes>* parts;
    std::size_t count;   // bytes in each stream, the last of which is only ever a follower

    const unsigned char* at(int stream) const
    {
        return (*parts)[std::size_t(stream / 2)].data() + stream % 2;
    }
};

std::vector<Relation> relationsOf(const Layout& layout)
{
    std::vector<int> streams = streamsByPosition(layout);
    std::vector<Relation> relations;
    for (std::size_t p = 0; p < streams.size(); ++p) {
        bool wraps = p + 1 == streams.size();
        relations.emplace_back(streams[p], streams[wraps ? 0 : p + 1], wraps ? 1 : 0);
    }
    return relations;
}

// c * log2(c) for every count a block can reach.
std::vector<double> countLogs(std::size_t limit)
{
    std::vector<double> logs(limit + 1, 0.0);
    for (std::size_t c = 2; c <= limit; ++c)
        logs[c] = double(c) * std::log2(double(c));
    return logs;
}

// Counts of byte pairs, cleared after each use by visiting only the pairs that occurred.
struct PairCounts {
    std::vector<unsigned> pairs = std::vector<unsigned>(0x10000);
    std::vector<std::uint16_t> seen;
};

// The sum of c * log2(c) over the counts of a stream's bytes i in [from, from + count): the
// same for every relation the stream leads, so it is counted once per stream and block.
double firstsSum(const Streams& streams, int stream, std::size_t from, std::size_t count,
                 const std::vector<double>& logs)
{
    unsigned firsts[0x100] = {};
    const unsigned char* first = streams.at(stream) + 2 * from;
    for (std::size_t i = 0; i < count; ++i)
        ++firsts[first[2 * i]];
    double sum = 0;
    for (unsigned c : firsts)
        sum += logs[c];
    return sum;
}

// H(B | A) in bits over pairs i in [from, from + count), given the first bytes' firstsSum.
double conditionalBits(const Streams& streams, const Relation& relation, std::size_t from,
                       std::size_t count, double firstSum, PairCounts& counts,
                       const std::vector<double>& logs, std::size_t& nearlyEqual)
{
    auto [a, b, step] = relation;
    const unsigned char* first = streams.at(a) + 2 * from;
    // A stream against its mirror image reads the second stream backwards.
    std::ptrdiff_t stride = step == kUnrelated ? -2 : 2;
    std::size_t start = step == kUnrelated ? streams.count - 2 - from : from + std::size_t(step);
    const unsigned char* second = streams.at(b) + 2 * start;
    counts.seen.clear();
    std::size_t near = 0;
    for (std::size_t i = 0; i < count; ++i, second += stride) {
        unsigned x = first[2 * i], y = *second;
        std::uint16_t pair = std::uint16_t(x << 8 | y);
        if (counts.pairs[pair]++ == 0)
            counts.seen.push_back(pair);
        near += x - y + 2 <= 4u;
    }
    nearlyEqual += near;
    double pairSum = 0;
    for (std::uint16_t pair : counts.seen) {
        pairSum += logs[counts.pairs[pair]];
        counts.pairs[pair] = 0;
    }
    // H(A,B) - H(A): the log2 of the count cancels.
    return (firstSum - pairSum) / double(count);
}

}  // namespace

double meanBits(const BlockBits& bits)
{
    double sum = 0;
    for (double b : bits)
        sum += b;
    return sum / kBlocks;
}

std::string bitsText(double bits, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, bits);
    return text;
}

PairStatistics measurePairs(const std::vector<Bytes>& parts, std::size_t laneSize,
                            const std::vector<Layout>& layouts)
{
    PairStatistics statistics;
    Streams streams{&parts, laneSize / 2};
    if (streams.count < 2 + kBlocks)
        return statistics;
    std::size_t usable = streams.count - 1;
    std::size_t perBlock = std::min(usable / kBlocks, kSampleLimit / kBlocks);
    statistics.samplesPerBlock = perBlock;

    std::map<Relation, BlockBits> measured;
    std::map<Relation, double> nearlyEqual;   // share of the pairs within 2 of each other
    for (const Layout& layout : layouts) {
        for (const Relation& relation : relationsOf(layout))
            measured[relation];
    }
    for (int stream = 0; stream < 2 * int(parts.size()); ++stream)
        measured[Relation(stream, stream, kUnrelated)];

    PairCounts counts;
    std::vector<double> logs = countLogs(perBlock);
    std::vector<BlockBits> firstSums(2 * parts.size());
    for (std::size_t stream = 0; stream < firstSums.size(); ++stream) {
        for (int block = 0; block < kBlocks; ++block)
            firstSums[stream][std::size_t(block)] =
                firstsSum(streams, int(stream), usable / kBlocks * std::size_t(block), perBlock, logs);
    }
    for (auto& [relation, bits] : measured) {
        std::size_t near = 0;
        for (int block = 0; block < kBlocks; ++block) {
            std::size_t from = usable / kBlocks * std::size_t(block);
            double firstSum = firstSums[std::size_t(std::get<0>(relation))][std::size_t(block)];
            bits[std::size_t(block)] = conditionalBits(streams, relation, from, perBlock, firstSum, counts, logs, near);
        }
        nearlyEqual[relation] = double(near) / double(perBlock * kBlocks);
    }

    auto meanOver = [&](const std::vector<Relation>& relations) {
        BlockBits mean{};
        for (const Relation& relation : relations) {
            for (int block = 0; block < kBlocks; ++block)
                mean[std::size_t(block)] += measured[relation][std::size_t(block)] / double(relations.size());
        }
        return mean;
    };
    for (const Layout& layout : layouts) {
        statistics.layouts.push_back(meanOver(relationsOf(layout)));
        double near = 0;
        for (const Relation& relation : relationsOf(layout))
            near += nearlyEqual[relation] / double(relationsOf(layout).size());
        statistics.nearlyEqual.push_back(near);
    }
    std::vector<Relation> unrelated;
    for (int stream = 0; stream < 2 * int(parts.size()); ++stream)
        unrelated.emplace_back(stream, stream, kUnrelated);
    statistics.unrelated = meanOver(unrelated);
    return statistics;
}
