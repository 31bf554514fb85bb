#include "cli/CliPrompts.h"

#include <iostream>

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
    std::cerr << "tavo-cli: " << line << '\n';
}

}  // namespace tavo
