// kestrel-tool: the administrator's command-line tool.
#include "tools/command.h"

int main(int argc, char** argv) {
    return kestrel::tools::RunTool(argc, argv);
}
