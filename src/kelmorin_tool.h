#pragma once

// The command-line tool's commands: argc and argv as main() gets them,
// the tool's exit code back.
int kelmorinTool(int argc, char* argv[]);
