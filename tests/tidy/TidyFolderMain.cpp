// quorrel-tidy DIR: TidyFolder as a program of its own, for the test that reads the tidy
// files of a real sweep folder with pandas.

#include "tidy/TidyFolder.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: quorrel-tidy DIR\n";
        return 2;
    }
    return quorrel::TidyFolder(argv[1], std::cerr);
}
