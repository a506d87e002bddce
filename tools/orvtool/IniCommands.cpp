// orvtool ini get|set: read and write profile (ini) files as the reader does.

#include "Command.h"

#include "app/common/ProfileFile.h"
#include "platform/Paths.h"

#include <iostream>

namespace orv::tool {
namespace {

struct IniArgs {
    std::string file, section, key, value;
};

void Register(CLI::App& app)
{
    auto* ini = app.add_subcommand("ini", "Read and write profile (ini) files");
    ini->require_subcommand(1);
    auto args = std::make_shared<IniArgs>();

    auto* get = ini->add_subcommand("get", "Print a value; exit 1 when it is missing or empty");
    get->add_option("FILE", args->file, "The ini file")->required();
    get->add_option("SECTION", args->section, "Section name")->required();
    get->add_option("KEY", args->key, "Key name")->required();
    SetAction(get, [args] {
        std::string value;
        if (CProfileFile(platform::ProgramPath(args->file)).ReadString(args->section, args->key, value) != 0) {
            Fail("no value for [" + args->section + "] " + args->key + " in " + args->file);
            return 1;
        }
        std::cout << value << '\n';
        return 0;
    });

    auto* set = ini->add_subcommand("set", "Write a value, creating the file, section and key as needed");
    set->add_option("FILE", args->file, "The ini file")->required();
    set->add_option("SECTION", args->section, "Section name")->required();
    set->add_option("KEY", args->key, "Key name")->required();
    set->add_option("VALUE", args->value, "The value")->required();
    SetAction(set, [args] {
        if (CProfileFile(platform::ProgramPath(args->file)).WriteString(args->section, args->key, args->value) != 0) {
            Fail("cannot write " + args->file);
            return 1;
        }
        return 0;
    });
}

const CommandRegistrar registrar("ini", Register);

}  // namespace
}  // namespace orv::tool
