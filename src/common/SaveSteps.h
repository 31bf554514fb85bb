#pragma once
// Internal to src/common's file code: the order of the safe save's steps
// that every system takes the same way, each system giving its own calls.

#include <cstddef>
#include <functional>
#include <string_view>

#include "common/AtomicFile.h"

namespace tavo::file_detail {

// A file with several hard links keeps its identity: it is rewritten in
// place. Until that is done the complete copy (flushed already) stays beside
// it under linkedCopyName, so a program stopped in the middle leaves the
// whole new content there; the next save of the same file replaces and
// then removes that copy.
struct InPlaceRewrite {
    // The complete copy takes its name beside the target (and the folder is flushed).
    std::function<FileStatus()> nameCopy;
    // Opens the target for writing; refused when it is no longer the file examined.
    std::function<FileStatus()> openTarget;
    // Room for the new content first, so that running out of space cannot
    // cut the file half way.
    std::function<FileStatus(std::size_t)> reserve;
    // The bytes from the file's start, the file cut to them and flushed.
    std::function<FileStatus(std::string_view)> writeAndFlush;
    // The copy stays: the file may be cut, the copy holds the new content.
    std::function<void()> keepCopy;
};
FileStatus rewriteInPlace(const InPlaceRewrite& steps, std::string_view bytes);

}  // namespace tavo::file_detail
