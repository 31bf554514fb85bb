// Where logs go on Windows: "TaVO Logs" in the system's Documents folder,
// written with Windows' separators.
#include <gtest/gtest.h>

#include <filesystem>

#include "logging/LogFile.h"

namespace tavo {
namespace {

TEST(LogFolderOnWindows, is_tavo_logs_in_the_documents_folder_the_system_names)
{
    const std::string documents = documentsFolder();
    EXPECT_TRUE(std::filesystem::u8path(documents).is_absolute()) << documents;
    EXPECT_EQ(documents.find('/'), std::string::npos) << documents;
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(documents))) << documents;
    EXPECT_EQ(defaultLogFolder(), documents + "\\TaVO Logs");
}

}  // namespace
}  // namespace tavo
