#pragma once
// Which logged channel feeds a table's x axis, remembered per table (its
// Chrysler name, else its name) by the channel's title, so the same choice
// holds for every log and for the live operating point: the log window's
// Hit Counts tab and the Quick Viewer's "Live channel:" share it. TaVO
// guesses none.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

struct TableDef;

// The name a table's choice is kept under.
std::string tableChoiceKey(const TableDef& def);

// Where the choices are kept (TaVO's settings in the program; memory in tests).
class TableChannelChoices {
public:
    virtual ~TableChannelChoices() = default;
    virtual std::optional<std::string> channelFor(std::string_view table) const = 0;
    virtual void setChannelFor(std::string_view table, std::string_view channelTitle) = 0;
};

class MemoryTableChannelChoices : public TableChannelChoices {
public:
    std::optional<std::string> channelFor(std::string_view table) const override
    {
        const auto found = kept.find(table);
        return found == kept.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void setChannelFor(std::string_view table, std::string_view channelTitle) override
    {
        kept.insert_or_assign(std::string(table), std::string(channelTitle));
    }
    std::map<std::string, std::string, std::less<>> kept;
};

}  // namespace tavo
