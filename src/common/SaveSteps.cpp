#include "common/SaveSteps.h"

namespace tavo::file_detail {

FileStatus rewriteInPlace(const InPlaceRewrite& steps, std::string_view bytes)
{
    if (FileStatus named = steps.nameCopy(); !named)
        return named;
    if (FileStatus opened = steps.openTarget(); !opened)
        return opened;
    if (FileStatus reserved = steps.reserve(bytes.size()); !reserved)
        return reserved;
    FileStatus written = steps.writeAndFlush(bytes);
    if (!written)
        steps.keepCopy();
    return written;
}

}  // namespace tavo::file_detail
