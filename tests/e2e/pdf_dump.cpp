// Prints a PDF's pages and outline as text, read with libqpdf: tomefuse-e2e-dump FILE
#include <exception>
#include <iostream>

#include "support/PdfDump.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tomefuse-e2e-dump FILE\n";
        return 2;
    }
    try {
        std::cout << tomefuse::test::dumpPdf(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "tomefuse-e2e-dump: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
