// What the page shows, built from the engine's answers.
#include "page_texts.h"

#include <cstdio>

static std::size_t extensionStart(const std::string& name)
{
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name.size() : dot;
}

std::string nameWithSuffix(const std::string& name, const std::string& suffix)
{
    std::size_t dot = extensionStart(name);
    return name.substr(0, dot) + suffix + name.substr(dot);
}

std::string binaryName(const std::string& name)
{
    return name.substr(0, extensionStart(name)) + ".bin";
}

std::string mergedName(const std::string& firstPart)
{
    std::size_t dot = extensionStart(firstPart);
    if (dot > 2 && firstPart.compare(dot - 2, 2, "-1") == 0)
        return firstPart.substr(0, dot - 2) + firstPart.substr(dot);
    return nameWithSuffix(firstPart, "-merged");
}

// A layout as the page's merge controls show it.
static std::string layoutText(const Layout& layout, const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t k = 0; k < layout.order.size(); ++k)
        text += (k ? ", " : "") + names[std::size_t(layout.order[k])];
    text += layout.width == 2 ? "; 16-bit words" : "; bytes";
    return layout.swap ? text + ", swapped" : text;
}

std::vector<std::string> identifyLines(const IdentifyReport& report,
                                       const std::vector<std::string>& names)
{
    std::vector<std::string> lines;
    std::string cpu = report.hintNote.empty() ? "" : "  cpu: " + report.hintNote;
    if (!report.decided) {
        lines.push_back("undetermined: " + report.reason);
        if (!cpu.empty())
            lines.push_back(cpu);
        for (const LayoutSummary& layout : report.candidates)
            lines.push_back("  " + (layout.label.empty() ? "candidate" : layout.label) + ": " +
                            layoutText(layout.layout, names) + " (" + layout.summary + ")");
        if (!report.candidates.empty() && report.remaining > report.candidates.size())
            lines.push_back("  and " + std::to_string(report.remaining - report.candidates.size()) +
                            " more");
        return lines;
    }
    lines.push_back("parts in order " + layoutText(report.layout, names));
    if (!cpu.empty())
        lines.push_back(cpu);
    for (const EvidenceLine& line : report.evidence)
        lines.push_back("  " + line.label + ": " + line.text);
    lines.push_back("  ahead of the runner-up by " + report.lead + "; decided by " +
                    report.decidedBy + "; runner-up: " + layoutText(report.runnerUp, names));
    return lines;
}

std::string jsonString(const std::string& text)
{
    std::string json = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string jsonList(const std::vector<std::string>& items)
{
    std::string json = "[";
    for (std::size_t k = 0; k < items.size(); ++k)
        json += (k ? "," : "") + items[k];
    return json + "]";
}
