#include "kelmorin_tool.h"

int main(int argc, char* argv[]) { return kelmorinTool(argc, argv); }
