#include "cli/CliPrompts.h"

#include <ostream>

#include "cli/CliSupport.h"

namespace tavo {

void CliPrompts::showMessage(std::string_view text, std::string_view, MessageIcon icon)
{
    messages_.emplace_back(text);
    // Confirmations ("ROM Image Saved.") are not news on a command line.
    if (icon == MessageIcon::Information)
        return;
    std::string line(text);
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    err_ << "tavo-cli: " << terminalText(line, true) << '\n';
}

}  // namespace tavo
