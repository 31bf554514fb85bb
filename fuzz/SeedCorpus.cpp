// tavo-fuzz-seeds FOLDER: writes the seed corpus (FOLDER/corpus/TARGET/) and
// the dictionaries (FOLDER/dict/TARGET.dict) of the fuzz targets. Valid
// files come from the project's own generators (the sample calibration, the
// simulated ECM's drive logged, the writers of every format); a few cases
// by hand sit at the edges the readers must hold. scripts/fuzz.sh seeds
// runs it over fuzz/.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "FuzzSamples.h"
#include "FuzzSupport.h"
#include "SampleCalibration.h"
#include "SimOptions.h"
#include "cli/CommandTable.h"
#include "common/LittleEndian.h"
#include "logging/LoggingConfig.h"
#include "rom/RomSaver.h"
#include "tables/TableFileWriter.h"

using namespace tavo;

namespace {

namespace fs = std::filesystem;

bool ok = true;
fs::path root;

void write(const std::string& target, const std::string& name, std::string_view bytes)
{
    const fs::path folder = root / "corpus" / target;
    fs::create_directories(folder);
    std::FILE* file = std::fopen((folder / name).c_str(), "wb");
    ok = ok && file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = file && std::fclose(file) == 0 && ok;
}

std::string joined(const std::vector<std::string_view>& parts)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i > 0 ? std::string(fuzz::kPartMarker) : "") + std::string(parts[i]);
    return out;
}

std::string words(const std::vector<std::string>& list)
{
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i)
        out += (i > 0 ? std::string(1, '\0') : "") + list[i];
    return out;
}

// A dictionary entry: the bytes in quotes, escaped as libFuzzer reads them.
std::string entry(std::string_view token)
{
    std::string line = "\"";
    for (const char c : token) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F || c == '"' || c == '\\') {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            line += hex;
        } else {
            line += c;
        }
    }
    return line + "\"\n";
}

void dictionary(const std::string& target, const std::set<std::string>& tokens)
{
    fs::create_directories(root / "dict");
    std::string text = "# " + target + ": tokens of what it reads (written by tavo-fuzz-seeds)\n";
    for (const std::string& token : tokens)
        text += entry(token);
    std::FILE* file = std::fopen((root / "dict" / (target + ".dict")).c_str(), "wb");
    ok = ok && file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = file && std::fclose(file) == 0 && ok;
}

// A small image at the top of the address space: tables whose rows would
// run past 0xFFFF, a FiveByte table without its end row, a Const16 on the
// last byte.
struct Edge {
    std::string tbl;
    std::string image;
};
Edge edgeImage()
{
    std::string image(256, '\0');
    image[0x00] = '\x40';                        // Normal at ff00: 64 rows, only 63 fit
    image[0x10] = '\x10', image[0x11] = '\xCE';  // a load-X of ff10 inside the image
    image[0x12] = '\xFF', image[0x13] = '\x40';
    for (int i = 0x40; i < 0x100; ++i)
        image[static_cast<std::size_t>(i)] = static_cast<char>(i);  // FiveByte at ff40: no end row
    image[0x80] = '\x03';
    const std::string tbl =
        "ff00\r\nEdges of the space\r\nhand-made\r\n"
        "ff00 0 n Past_the_end In 0 256 raw Out 0 256 raw EDGE1 Rows_beyond_0xffff\r\n"
        "ff40 1 n No_end_row In 0 256 raw Out 0 256 raw EDGE2 Rows_to_the_end\r\n"
        "ff80 2 n Signed In 0 256 raw Out -128 128 raw EDGE3 Description\r\n"
        "ffff 4 n Last_byte In 0 256 raw Out 0 256 raw EDGE4 Description\r\n"
        "fffe 5 n Flags In 0 256 raw Out 0 256 raw EDGE5 Description a b c d Not_Used f g h\r\n"
        "fffd 6 n Choice In 0 256 raw Out 0 256 raw EDGE6 Description one 0 two 1 Unused 0 x ff y 100 z 1ff w 3 v 4\r\n";
    return {tbl, image};
}

void tblSeeds(const RomImage& sample, const RomImage& compare)
{
    write("tbl", "sample.tbl", formatTableFile(sample));
    write("tbl", "sample-compare.tbl", formatTableFile(compare));
    write("tbl", "edges.tbl", edgeImage().tbl);
    // Every entry form, keywords, D-Cal lines, a sscanf-style offset, LF ends.
    write("tbl", "forms.tbl",
          "8000\nEvery form\nhand-made\n; comment\ninjectors 33.5\nboost 12\nmap 2.5\n"
          "D-Cal_Version 1.2\nchecksum CK 1234 5678\ncrc32 deadbeef\n"
          "9000 0 y Name X 0 256 raw Y 0 256 raw CHRY Description\n"
          "9010 0 n Thirteen X 0 256 raw Y 0 256 raw Description\n"
          "9020 3 n Seven X Y Description\n"
          "9030 4 n Six X Y\n"
          "12345 7 n Long_offset X Y\n"
          "9040 5 n Bits X 0 1 u Y 0 1 u BITS Description a b c d e f g h\n"
          "9050 6 n Choices X 0 1 u Y 0 1 u CHO Description a 0 b 1 c 2 d 3 e 4 f 5 g 6 h 7\n"
          "9060 0 n \xA6line_break\xA6 X 0 256 raw Y 0 256 raw \x01\x1b[2J Description\n");
    std::string full = "8000\nFull\nhand-made\n";
    for (int i = 0; i < kTableCapacity + 3; ++i)
        full += "8" + std::to_string(100 + i % 900) + " 3 n c" + std::to_string(i) + " X Y\n";
    write("tbl", "more-than-514.tbl", full);
    write("tbl", "empty.tbl", "");
}

void imageSeeds(const RomImage& sample, const RomImage& compare)
{
    const std::string sampleTbl = formatTableFile(sample);
    const std::string sampleBin = imageFileBytes(sample);
    const std::string compareTbl = formatTableFile(compare);
    const std::string compareBin = imageFileBytes(compare);
    const Edge edge = edgeImage();
    write("quick_viewer", "sample", joined({sampleTbl, sampleBin, "110\n95\n\x40\x80\x10\x60"}));
    write("quick_viewer", "sample-compare", joined({compareTbl, compareBin, std::string("0\n200%\n\x00\x00\xff\xff", 11)}));
    write("quick_viewer", "edges", joined({edge.tbl, edge.image, "1e30\n-5\n\x7f\x7f"}));
    write("diff", "sample-vs-compare", joined({sampleTbl, sampleBin, compareTbl, compareBin}));
    write("diff", "edges-vs-sample", joined({edge.tbl, edge.image, sampleTbl, sampleBin}));
    std::string shifted = edge.image;
    shifted[0x00] = '\x20', shifted[0x41] = '\x7F', shifted[0xFF] = '\x01';
    write("diff", "edges-changed", joined({edge.tbl, edge.image, edge.tbl, shifted + "longer"}));
}

std::string shortLog(const LogFileContent& log, int firstRow, int rows)
{
    std::string bytes = encodeLogFile(log).substr(0, 12);
    bytes += static_cast<char>(firstRow & 0xFF);
    bytes += static_cast<char>(firstRow >> 8);
    const std::string all = encodeLogFile(log);
    for (int k = 0; k < rows; ++k)
        bytes += all.substr(12 + static_cast<std::size_t>(ringRow(firstRow + k)) * kRowSlots, kRowSlots);
    return bytes;
}

std::string oddConfig()
{
    LoggingConfig config;
    setLoggingDefaults(config);
    config.channels[0].setTitle("RPM, \"high\"");
    config.channels[1].setTitle("Custom");
    config.channels[2].setTitle("\x1b]0;title\x07");
    config.channels[3].setTitle("Ladedruck \xE4");
    config.channels[4].setTitle("RPMs");
    config.channels[5].title.fill('A');
    config.channels[6].location = 0x1234;
    config.channels[6].multiplier = 1e300;
    config.channels[7].word = true;
    config.channels[7].multiplier = -0.0;
    config.serial = {7, -1, 5};
    return encodeLoggingConfig(config);
}

void logSeeds()
{
    const LogFileContent drive = fuzz::driveLog(300, 0x1FF, 125);
    const LogFileContent few = fuzz::driveLog(40, 0x10B, 62);
    const LogFileContent wrapped = fuzz::driveLog(5000, 0x0FF, 1);
    write("log_file", "drive", shortLog(drive, 0, 301));
    write("log_file", "few-with-titles", joined({shortLog(few, 0, 41), oddConfig()}));
    write("log_file", "wrapped.log", encodeLogFile(wrapped));
    LogFileContent odd = few;
    odd.writePos = -7;
    odd.samplePeriodMs = -1;
    write("log_file", "negative-header", shortLog(odd, 4080, 30));
    odd.writePos = 0x7FFFFFFF;
    odd.samplePeriodMs = 0;
    write("log_file", "huge-header", shortLog(odd, 4090, 12));

    write("log_csv", "drive.csv", fuzz::driveCsv(drive));
    write("log_csv", "few.csv", fuzz::driveCsv(few));
    write("log_csv", "measured.csv",
          "row,seconds,RPMs,MAP,Custom\r\n0,0.000,10,20,30\r\n1,0.131,11,21,31\r\n\r\n2,0.120,12,22,32\r\n"
          "3,1e3,13,23,33\r\n");
    write("log_csv", "quoted.csv",
          "row,seconds,\"RPM, \"\"high\"\"\",\"two\nlines\",Custom,Vehicle Speed\n0,0,1,2,3,4\n1,0.062,5,6,7,8\n");
    write("log_csv", "refused.csv", "row,seconds,RPMs\n0,0,256\n");

    // Tables of the sample calibration as the log_review target takes them.
    const auto sample = sample::makeSampleCalibration(false);
    auto table = [&](int kind, int address, int length) {
        std::string bytes{static_cast<char>(kind), static_cast<char>(address >> 8), static_cast<char>(address & 0xFF)};
        for (int i = 0; i < length; ++i)
            bytes += static_cast<char>(sample->image[static_cast<std::size_t>(address + i)]);
        return bytes;
    };
    write("log_review", "drive-wottbl", joined({shortLog(drive, 0, 301), table(0, 0x9000, 0x30)}));
    write("log_review", "few-fivebyte", joined({shortLog(few, 0, 41), table(1, 0x90E0, 0x30)}));
    write("log_review", "csv-signed", joined({fuzz::driveCsv(few), table(2, 0x90B0, 0x30)}));
}

void configSeeds()
{
    LoggingConfig config;
    setLoggingDefaults(config);
    const std::string defaults = encodeLoggingConfig(config);
    write("logging_cfg", "Logging.cfg", defaults);
    write("logging_cfg", "short.cfg", defaults.substr(0, 150));
    write("logging_cfg", "odd.cfg", oddConfig());
    write("logging_cfg", "longer.cfg", defaults + "trailing bytes");
}

void cliSeeds()
{
    const std::vector<std::vector<std::string>> lines = {
        {"info", "sample.bin"},
        {"tables", "sample.bin", "--json"},
        {"show", "sample.bin", "WOTTBL"},
        {"show", "sample.bin", "OPTFLG", "--json"},
        {"save-tables", "sample.bin", "--to", "out.tbl"},
        {"graph", "sample.bin", "INJPW", "--png", "g.png", "--compare", "sample-compare.bin"},
        {"scale", "sample.bin", "WOTTBL", "--x", "110", "--y", "95%"},
        {"scale", "sample.bin", "TRNTYP", "--x", "100", "--y", "100"},
        {"scan", "sample.bin", "--json", "--write"},
        {"ram", "--device", "sample.bin", "--base", "0x40", "--count", "16", "--low-speed", "1", "--high-speed", "3"},
        {"log", "--device", "nothing", "--ticks", "10", "--channels", "1,2,custom", "--custom", "45", "--out", "o.log",
         "--csv", "o.csv", "--smoothing"},
        {"log", "--device", "run.log", "--seconds", "0.5", "--period-ms", "1", "--config", "Logging.cfg", "--json"},
        {"log2csv", "run.log", "--config", "Logging.cfg"},
        {"log2csv", "run.csv", "--out", "x.csv"},
        {"log-graph", "run.log", "--png", "l.png", "--ticks", "100"},
        {"log-stats", "run.log", "--json"},
        {"log-hits", "sample.bin", "WOTTBL", "run.log", "--channel", "1", "--json"},
        {"log-hits", "sample.bin", "KNKRET", "run.log", "--channel", "custom"},
        {"diff", "sample.bin", "sample-compare.bin", "--json"},
        {"diff", "sample-compare.bin", "sample.bin"},
        {"--help"},
        {"--version"},
        {"show", "--help"},
        {"show", "sample.bin", "no\x1b[2Jsuch"},
        {"link-check", "--device", "sample.bin", "--checks", "10", "--high-speed", "3", "--low-speed", "1", "--json"},
    };
    std::set<std::string> tokens = {"sample.bin", "sample-compare.bin", "run.log", "run.csv", "Logging.cfg",
                                    "--help", "--version", "help", "-h", "custom", "0x", "=", "\x1b"};
    for (std::size_t i = 0; i < lines.size(); ++i)
        write("cli", (i < 10 ? "0" : "") + std::to_string(i) + "-" + lines[i][0], words(lines[i]));
    for (const CliCommand& command : cliCommands()) {
        tokens.insert(command.name);
        for (const CliOption& option : command.options)
            tokens.insert(option.name);
    }
    dictionary("cli", tokens);
}

void simSeeds()
{
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"--ram", "ram.bin", "--baud", "62500", "--line-timed"},
        {"--frames", "frames.bin", "--answer-from-attempt", "2", "--drop-every", "3"},
        {"--silent", "--record", "r.txt", "--link", "ecm"},
        {"--late-every", "2", "--late-ms", "60", "--twice-every", "3", "--noise-every", "5", "--extra-bytes"},
        {"--mute-after", "4", "--turnaround-us", "0", "--ram", "ram.bin"},
        {"--baud", "49"},
        {"--frames", "ram.bin", "--ram", "frames.bin"},
        {"--drop-every"},
        {"--usb-latency-ms", "16", "--line-timed", "--ram", "ram.bin"},
    };
    std::string script;
    for (int address = 0; address < 256; address += 17)
        script += {static_cast<char>(address), static_cast<char>(address)};
    for (std::size_t i = 0; i < lines.size(); ++i)
        write("ecm_sim_options", std::to_string(i), i % 2 ? joined({words(lines[i]), script}) : words(lines[i]));
    std::set<std::string> tokens = {"ram.bin", "frames.bin", "62500", "7812"};
    const std::string usage = sim::kSimUsage;
    for (std::size_t at = usage.find("  --"); at != std::string::npos; at = usage.find("  --", at + 1))
        tokens.insert(usage.substr(at + 2, usage.find(' ', at + 2) - at - 2));
    dictionary("ecm_sim_options", tokens);
}

// The ECM's side of a line for the link's target: a client and its set-up,
// then per step an action and per request a fault and its detail. A clean
// line is all zeros; faults are sprinkled at fixed places (see the target).
void linkSeeds()
{
    const std::string clean(600, '\0');
    std::string logging = {static_cast<char>(0xC0 | 2), static_cast<char>(0xFF)};
    for (int n = 0; n < 8; ++n)
        logging += {static_cast<char>(n % 2 ? 0 : 2 * n + 1), static_cast<char>(0x60 + 2 * n)};
    logging += '\x5a';
    write("link_oracle", "live_ram_clean", std::string(1, '\x00') + clean);
    write("link_oracle", "logging_clean", logging + clean);
    // Every kind of fault (0xC0 to 0xC5, a silent stretch 0xC8), the device
    // gone (0xFE) and back (0xFD), at both speeds.
    std::string faults;
    for (int round = 0; round < 6; ++round) {
        for (const int fault : {0xC0, 0xC2, 0xC3, 0xC4, 0xC5, 0xC8})
            faults += std::string(40, '\0') + static_cast<char>(fault) + static_cast<char>(0x85 + round);
        faults += std::string(30, '\0') + '\xFE' + std::string(30, '\0') + '\xFD';
    }
    write("link_oracle", "live_ram_faults", std::string(1, '\x03') + faults);
    write("link_oracle", "logging_faults", logging + faults);
    std::string fastest = logging;
    fastest[0] = static_cast<char>(0xA0 | 3);
    write("link_oracle", "logging_fastest_faults", fastest + faults);
    dictionary("link_oracle", {"\xC0", "\xC2", "\xC3", "\xC4", "\xC5", "\xC8", "\xFE", "\xFD",
                               std::string(16, '\0')});
}

void formatDictionaries()
{
    const std::set<std::string> tbl = {
        "\r\n", "\n", "; ", "_", "\xA6", std::string(1, '\0'), " ", "injectors ", "boost ", "map ", "2.5", "crc32 ", "checksum ",
        "D-Cal_Version ", "Not_Used", "Unused", " y ", " n ", " 0 ", " 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 ",
        "ffff", "fffe", "8000", "0000", "12345", "-", "1e30", "nan", "inf",
    };
    dictionary("tbl", tbl);
    std::set<std::string> image = tbl;
    image.insert(std::string(fuzz::kPartMarker));
    image.insert("\xCE");
    image.insert("\xFF");
    dictionary("quick_viewer", image);
    dictionary("diff", image);
    const std::set<std::string> csv = {"row,seconds", ",", "\"", "\"\"", "\r\n", "\n", "Custom", "RPMs", "MAP",
                                       "0.000", "1e308", "-0", "255", "256", "nan", "inf", "\xC3\xA4", "\xE4"};
    dictionary("log_csv", csv);
    std::set<std::string> review = csv;
    review.insert(std::string(fuzz::kPartMarker));
    dictionary("log_review", review);
    dictionary("log_file", {std::string(fuzz::kPartMarker), "row,seconds", "Custom", std::string(4, '\xFF'),
                            std::string("\x00\x10\x00\x00", 4), std::string("\xFF\x01\x00\x00", 4)});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavo-fuzz-seeds FOLDER\n");
        return 2;
    }
    root = argv[1];
    const auto sample = sample::makeSampleCalibration(false);
    const auto compare = sample::makeSampleCalibration(true);
    tblSeeds(*sample, *compare);
    imageSeeds(*sample, *compare);
    logSeeds();
    configSeeds();
    cliSeeds();
    simSeeds();
    linkSeeds();
    formatDictionaries();
    if (!ok) {
        std::fprintf(stderr, "tavo-fuzz-seeds: could not write everything into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
