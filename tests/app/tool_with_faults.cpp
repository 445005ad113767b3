// The command-line tool on a failing machine, for the tests of what a full
// disk or a sudden stop leaves behind. Options before the tool's own
// arguments:
//   --write-limit N      every file written fails with "no space left" at
//                        its byte N (0: at once)
//   --stop-at ID:WHEN    the process ends at once, as a power cut would, when
//                        upgrade step ID reaches WHEN ("work": done but not
//                        committed; "commit": committed, no marker; "marker":
//                        marker written); the exit code is 137
#include "kelmorin_tool.h"

#include "common/text_file.h"
#include "data/upgrade_chain.h"

#include <QString>

#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char* argv[])
{
    std::vector<char*> rest{argv[0]};
    int i = 1;
    for (; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--write-limit") == 0) {
            textfile::setWriteLimitForTests(std::atoll(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--stop-at") == 0) {
            const QString point = QString::fromLatin1(argv[i + 1]);
            upgrade::setCheckpoint([point](const QString& id, upgrade::Instant instant) {
                static const char* const names[] = {"work", "commit", "marker"};
                if (point == id + u':' + QLatin1String(names[int(instant)]))
                    std::_Exit(137);
            });
        } else {
            break;
        }
    }
    for (; i < argc; ++i)
        rest.push_back(argv[i]);
    rest.push_back(nullptr);
    return kelmorinTool(int(rest.size()) - 1, rest.data());
}
