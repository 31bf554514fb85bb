#include <iostream>

#include "cli/CliCommands.h"
#include "common/ProgramStart.h"

int main(int argc, char** argv)
{
    tavo::prepareStandardStreams();
    return tavo::runCli(tavo::programArguments(argc, argv), std::cout, std::cerr);
}
