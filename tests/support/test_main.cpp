// The main() of an executable that holds several test classes: the first
// argument names the class to run (its file's name without the extension),
// the others go to Qt Test.
#include "test_main.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace testmain {
namespace {

std::map<std::string, Runner>& registry()
{
    static std::map<std::string, Runner> runners;
    return runners;
}

// "…/tests/invoice/tst_identifiers.cpp" → "tst_identifiers"
std::string nameOf(const char* file)
{
    std::string name(file);
    if (const auto slash = name.find_last_of("/\\"); slash != std::string::npos)
        name.erase(0, slash + 1);
    if (const auto dot = name.find('.'); dot != std::string::npos)
        name.erase(dot);
    return name;
}

} // namespace

Registration::Registration(const char* file, Runner run)
{
    if (!registry().emplace(nameOf(file), run).second) {
        std::fprintf(stderr, "Two test classes are registered as %s.\n", nameOf(file).c_str());
        std::abort();
    }
}

} // namespace testmain

int main(int argc, char* argv[])
{
    const auto& runners = testmain::registry();
    const auto found = argc > 1 ? runners.find(argv[1]) : runners.end();
    if (found == runners.end()) {
        std::fprintf(stderr, "Usage: %s TEST [Qt Test options]\nThe tests in this executable:\n", argv[0]);
        for (const auto& [name, run] : runners)
            std::fprintf(stderr, "  %s\n", name.c_str());
        return 2;
    }
    // Qt Test sees the program's name and the options after the class's.
    std::vector<char*> args(argv + 1, argv + argc);
    args.front() = argv[0];
    args.push_back(nullptr);
    return found->second(argc - 1, args.data());
}
