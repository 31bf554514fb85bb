#pragma once
// The names a safe save gives its files beside the target, the same on
// every system: the temporary file ".tavo-<pid>-<8 hex digits>.tmp" (short
// whatever the target's name, so a target name of 255 bytes still saves;
// the process id tells which program it belongs to) and the complete copy
// ".tavo-<file id>.new" kept while a hard-linked file is rewritten in place.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavo {

std::string temporaryFileName(std::uint32_t processId, std::uint32_t random);
// The process that wrote a temporary file, or 0 when the name is not one of
// the save's temporary names.
std::uint32_t temporaryFileWriter(std::string_view name);

// Whether a save should remove the file of this name: a temporary file left
// by a program that is gone (killed between writing it and renaming it). A
// live program's temporary file, this program's included, is never touched.
bool abandonedTemporary(std::string_view name, std::uint32_t self,
                        const std::function<bool(std::uint32_t)>& processGone);

std::string linkedCopyName(std::uint64_t fileId);

}  // namespace tavo
