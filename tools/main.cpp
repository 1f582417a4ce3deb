// SPDX-License-Identifier: Apache-2.0
// vantor: form evaluation of measured points from the command line.
#include <iostream>

#include "cli.h"

int main(int argc, char** argv) { return vantor::cli::run(argc, argv, std::cout, std::cerr); }
