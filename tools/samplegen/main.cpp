// Writes the sample calibration files into the folder given.
#include <cstdio>

#include "SampleCalibration.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavo-samplegen FOLDER\n");
        return 2;
    }
    if (!tavo::sample::writeSampleFiles(argv[1])) {
        std::fprintf(stderr, "tavo-samplegen: could not write the sample files into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
