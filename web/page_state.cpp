// The page's state and the reports every action ends in.
#include "page_state.h"

#include "page_texts.h"

std::vector<Input> inputs(kInputSlots);
std::vector<PageOutput> outputs;
std::string report;

int refuse(const std::string& message)
{
    outputs.clear();
    report = "{\"message\":" + jsonString(message) + ",\"outputs\":[]}";
    return 0;
}

int answer(const std::string& extra)
{
    std::vector<std::string> items;
    for (const PageOutput& output : outputs)
        items.push_back("{\"name\":" + jsonString(output.name) + ",\"size\":" +
                        std::to_string(output.bytes.size()) + ",\"socket\":" +
                        jsonString(output.socket) + "}");
    report = "{\"message\":\"\",\"outputs\":" + jsonList(items) + extra + "}";
    return int(outputs.size());
}
