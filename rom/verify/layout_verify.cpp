#include "layout_verify.h"

#include "dump_findings.h"
#include "layout_parts.h"
#include "verify_text.h"

namespace {

// A dump that is another bank's chip: the chip sits in a socket of the wrong row. Verify's
// own findings name the other lanes of its bank.
std::string otherBankChip(const Bytes& dump, const std::vector<Bytes>& chips, const BoardLayout& layout,
                          std::size_t ownBank)
{
    std::size_t next = 0;
    for (std::size_t b = 0; b < layout.banks.size(); ++b) {
        for (int k = 0; k < layout.banks[b].lanes; ++k, ++next) {
            if (b != ownBank && chips[next] == dump)
                return "  holds " + layout.banks[b].chips[std::size_t(k)] + ", bank " + std::to_string(b + 1) +
                       " lane " + std::to_string(k + 1) + ": the chip sits in another bank's socket";
        }
    }
    return "";
}

}  // namespace

std::vector<std::string> layoutVerifyLines(const Bytes& image, const BoardLayout& layout,
                                           const std::vector<Bytes>& dumps,
                                           const std::vector<std::string>& names, bool& differs)
{
    std::string refusal;   // the banks' fill fitted when the layout was read
    std::vector<Bytes> chips = splitLayout(image, layout, refusal);
    std::vector<std::string> lines;
    differs = false;
    std::size_t start = 0, next = 0;
    for (std::size_t b = 0; b < layout.banks.size(); ++b) {
        const Bank& bank = layout.banks[b];
        std::vector<Bytes> bankDumps(dumps.begin() + std::ptrdiff_t(next),
                                     dumps.begin() + std::ptrdiff_t(next) + bank.lanes);
        std::vector<DumpReport> reports = verifyDumps(bankBytes(image, layout, b), bankShape(bank), bankDumps, refusal);
        for (std::size_t k = 0; k < reports.size(); ++k) {
            std::string socket = "bank " + std::to_string(b + 1) + " lane " + std::to_string(reports[k].part + 1);
            for (const std::string& line : verifyLines(reports[k], names[next + k], socket, start))
                lines.push_back(line);
            if (!reports[k].matches) {
                std::string other = otherBankChip(bankDumps[k], chips, layout, b);
                if (!other.empty())
                    lines.push_back(other);
                differs = true;
            }
        }
        start += bank.size;
        next += std::size_t(bank.lanes);
    }
    return lines;
}
