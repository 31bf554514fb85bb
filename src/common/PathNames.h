#pragma once
// How the system writes a path: its separators, and a name put into a folder.
// On Windows both '\' and '/' separate (the system takes either) and '\' is
// the one shown; elsewhere only '/', for '\' is an ordinary character there.

#include <string>
#include <string_view>

namespace tavo {

#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr std::string_view kPathSeparators = "/";
inline constexpr char kPathSeparator = '/';
#endif

// The position of the last separator in path, npos when there is none.
inline std::size_t lastPathSeparator(std::string_view path)
{
    return path.find_last_of(kPathSeparators);
}

// `name` inside `folder`.
inline std::string pathInFolder(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || kPathSeparators.find(path.back()) == std::string_view::npos)
        path += kPathSeparator;
    path += name;
    return path;
}

}  // namespace tavo
