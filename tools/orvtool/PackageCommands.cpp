// orvtool pack|compress|decompress|page: build, inspect and unpack file libraries and HTML page
// packages the way the reader does.

#include "Command.h"
#include "packages/Compression.h"
#include "packages/FileLib.h"
#include "packages/NativeFile.h"
#include "packages/ZFileLib.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <zlib.h>

#include <iostream>

namespace orv::tool {
namespace {

struct PackageArgs {
    std::string library, source, member, target, folder, base, input, output;
    int depth = 0;
    bool raw = false;
};

// Member names are written with "\"; "/" typed on the command line means the same.
std::string MemberName(std::string name)
{
    for (char& c : name)
        if (c == '/')
            c = '\\';
    return name;
}

std::string CodeText(int code)
{
    switch (code) {
    case kSourceOpenFailed:
        return "the source can't be opened";
    case kTargetOpenFailed:
        return "the target can't be created";
    case kOutputTooLarge:
        return "the output passes the size limit";
    case Z_ERRNO:
        return "read or write failed";
    case Z_DATA_ERROR:
        return "damaged stream";
    case Z_BUF_ERROR:
        return "the stream ends early";
    case Z_MEM_ERROR:
        return "out of memory";
    default:
        return "zlib error";
    }
}

template <typename Library>
bool OpenLibrary(Library& library, const std::string& path, const std::string& shown)
{
    if (library.Open(path))
        return true;
    Fail("cannot open library " + shown + " (the data file and its .idx index must both exist)");
    return false;
}

void RegisterPack(CLI::App& app)
{
    auto* pack
        = app.add_subcommand("pack", "Create, list, fill and unpack file libraries (data file + .idx)");
    pack->require_subcommand(1);
    auto args = std::make_shared<PackageArgs>();

    auto* create
        = pack->add_subcommand("create", "Start a new library: an empty data file and an empty index");
    create->add_option("LIB", args->library, "Data file, e.g. Pages/A12.htz")->required();
    SetAction(create, [args] {
        std::string path = AbsoluteProgramPath(args->library);
        std::string name = CFileLib::GetFileNamePart(path);
        std::size_t dot = name.rfind('.');
        if (dot == std::string::npos || name.size() - dot != 4
            || platform::EqualsNoCase(name.substr(dot), ".idx")) {
            Fail("a library's data file needs a three-letter extension other than .idx: " + args->library);
            return 1;
        }
        std::string index = CFileLib::IndexPathFor(path);
        if (platform::PathExists(path) || platform::PathExists(index)) {
            Fail("already exists: " + platform::NativePath(platform::PathExists(path) ? path : index));
            return 1;
        }
        NativeFile data = NativeFile::Create(path);
        NativeFile idx = NativeFile::Create(index);
        if (!data.IsOpen() || !idx.IsOpen() || !data.Close() || !idx.Close()) {
            Fail("cannot create " + args->library);
            return 1;
        }
        return 0;
    });

    auto* list = pack->add_subcommand("list", "Print name, offset and size of every member, in index order");
    list->add_option("LIB", args->library, "Data file")->required();
    SetAction(list, [args] {
        CFileLib library(AbsoluteProgramPath(args->library));
        if (!OpenLibrary(library, library.GetDataPath(), args->library))
            return 1;
        std::vector<std::string> names;
        library.GetFileNames(names);
        std::uint64_t offset = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::uint32_t size = library.GetFileSizes()[i];
            std::cout << names[i] << '\t' << offset << '\t' << size << '\n';
            offset += size;
        }
        return 0;
    });

    auto* add = pack->add_subcommand("add", "Compress a file into the library; prints the member name");
    add->add_option("LIB", args->library, "Data file")->required();
    add->add_option("SOURCE", args->source, "File to add")->required();
    add->add_option("--depth", args->depth, "Trailing folder names of SOURCE kept in the member name")
        ->default_val(0);
    SetAction(add, [args] {
        CZFileLib library(AbsoluteProgramPath(args->library));
        if (!OpenLibrary(library, library.GetDataPath(), args->library))
            return 1;
        std::string source = AbsoluteProgramPath(args->source);
        if (!library.AddFile(source, args->depth)) {
            Fail("cannot add " + args->source + " to " + args->library);
            return 1;
        }
        std::vector<std::string> names;
        library.GetFileNames(names);
        std::cout << names.back() << '\n';
        return 0;
    });

    auto* append
        = pack->add_subcommand("append", "Append a file as it is (no compression); prints the member name");
    append->add_option("LIB", args->library, "Data file")->required();
    append->add_option("SOURCE", args->source, "File to append")->required();
    append->add_option("--folder", args->folder, "Folder prefix of the member name");
    SetAction(append, [args] {
        CFileLib library(AbsoluteProgramPath(args->library));
        if (!OpenLibrary(library, library.GetDataPath(), args->library))
            return 1;
        if (!library.AppendFile(AbsoluteProgramPath(args->source), MemberName(args->folder))) {
            Fail("cannot append " + args->source + " to " + args->library);
            return 1;
        }
        std::vector<std::string> names;
        library.GetFileNames(names);
        std::cout << names.back() << '\n';
        return 0;
    });

    auto* extract = pack->add_subcommand("extract", "Unpack one member; prints the target path used");
    extract->add_option("LIB", args->library, "Data file")->required();
    extract->add_option("MEMBER", args->member, "Member name (case is ignored)")->required();
    extract->add_option(
        "TARGET", args->target, "Where to write it (default: beside the library, under the member name)");
    extract->add_flag("--raw", args->raw, "Copy the stored bytes without decompressing");
    SetAction(extract, [args] {
        std::string dataPath = AbsoluteProgramPath(args->library);
        std::string target = args->target.empty() ? std::string() : AbsoluteProgramPath(args->target);
        CFileLib plain(dataPath);
        CZFileLib compressed(dataPath);
        CFileLib& library = args->raw ? plain : static_cast<CFileLib&>(compressed);
        if (!OpenLibrary(library, dataPath, args->library))
            return 1;
        std::uint32_t offset = 0, size = 0;
        std::string member = MemberName(args->member);
        if (!library.FindFile(member, offset, size)) {
            Fail("no member " + args->member + " in " + args->library);
            return 1;
        }
        if (!library.ExtractFile(member, target)) {
            Fail("cannot extract " + args->member
                + (target.empty() ? std::string() : " to " + platform::NativePath(target))
                + " (damaged or truncated member, or the target can't be written)");
            return 1;
        }
        std::cout << platform::NativePath(target) << '\n';
        return 0;
    });

    auto* remove = pack->add_subcommand("remove", "Remove one member from the data file and the index");
    remove->add_option("LIB", args->library, "Data file")->required();
    remove->add_option("MEMBER", args->member, "Member name (case is ignored)")->required();
    SetAction(remove, [args] {
        CFileLib library(AbsoluteProgramPath(args->library));
        if (!OpenLibrary(library, library.GetDataPath(), args->library))
            return 1;
        if (!library.RemoveFile(MemberName(args->member))) {
            Fail("cannot remove " + args->member + " from " + args->library);
            return 1;
        }
        return 0;
    });
}

void RegisterCompression(CLI::App& app)
{
    auto args = std::make_shared<PackageArgs>();
    for (bool compress : { true, false }) {
        auto* command = app.add_subcommand(compress ? "compress" : "decompress",
            compress ? "Compress a whole file into one zlib stream"
                     : "Decompress a file holding one zlib stream");
        command->add_option("IN", args->input, "Source file")->required();
        command->add_option("OUT", args->output, "Target file (created or replaced)")->required();
        SetAction(command, [args, compress] {
            std::string in = AbsoluteProgramPath(args->input), out = AbsoluteProgramPath(args->output);
            int code = compress ? CompressFile(in, out) : DecompressFile(in, out);
            if (code != 0) {
                Fail(std::string(compress ? "compress" : "decompress") + " failed: code "
                    + std::to_string(code) + " (" + CodeText(code) + ")");
                return 1;
            }
            return 0;
        });
    }
}

void RegisterPage(CLI::App& app)
{
    auto* page = app.add_subcommand("page", "Read and extract pages of an HTML package (.htz)");
    page->require_subcommand(1);
    auto args = std::make_shared<PackageArgs>();

    auto* read = page->add_subcommand("read", "Print a page's text (UTF-8 unless --raw)");
    read->add_option("HTZ", args->library, "Page package")->required();
    read->add_option("PAGE", args->member, "Page name, e.g. A12.htm (case is ignored)")->required();
    read->add_flag("--raw", args->raw, "Print the stored bytes without converting them");
    SetAction(read, [args] {
        CZHtmFileLib library(AbsoluteProgramPath(args->library));
        if (!OpenLibrary(library, library.GetDataPath(), args->library))
            return 1;
        std::string text = library.ReadPageText(args->member);
        if (text.empty()) {
            Fail(
                "cannot read page " + args->member + " of " + args->library + " (missing, empty or damaged)");
            return 1;
        }
        if (!args->raw && !platform::LooksLikeUtf8(text))
            text = platform::Gb18030ToUtf8(text);
        std::cout << text;
        return 0;
    });

    auto* extract
        = page->add_subcommand("extract", "Write a page with its picture and style addresses made absolute");
    extract->add_option("HTZ", args->library, "Page package")->required();
    extract->add_option("PAGE", args->member, "Page name (case is ignored)")->required();
    extract->add_option("TARGET", args->target, "The page file to write")->required();
    extract->add_option(
        "--base", args->base, "Folder the addresses point into (default: the package's folder)");
    SetAction(extract, [args] {
        CZHtmFileLib library(AbsoluteProgramPath(args->library));
        if (!OpenLibrary(library, library.GetDataPath(), args->library))
            return 1;
        if (!args->base.empty())
            library.SetBaseFolder(AbsoluteProgramPath(args->base));
        std::string target = AbsoluteProgramPath(args->target);
        if (!library.ExtractFile(args->member, target)) {
            Fail("cannot extract page " + args->member + " of " + args->library + " to " + args->target);
            return 1;
        }
        std::cout << platform::NativePath(target) << '\n';
        return 0;
    });

    auto* companions = page->add_subcommand(
        "companions", "Unpack a page's companion files (<package>_files.flz) into BASEFOLDER/<page>.files");
    companions->add_option("HTZ", args->library, "Page package")->required();
    companions->add_option("PAGE", args->member, "Page name")->required();
    companions->add_option("BASEFOLDER", args->base, "Folder to unpack into")->required();
    SetAction(companions, [args] {
        std::string folderName;
        if (!CZHtmFileLib::ExtractCompanionFiles(
                AbsoluteProgramPath(args->library), args->member, AbsoluteProgramPath(args->base), folderName)) {
            Fail("no companion package for " + args->member + " beside " + args->library);
            return 1;
        }
        std::cout << folderName << '\n';
        return 0;
    });
}

const CommandRegistrar packRegistrar("pack", RegisterPack);
const CommandRegistrar compressRegistrar("compress", RegisterCompression);
const CommandRegistrar pageRegistrar("page", RegisterPage);

} // namespace
} // namespace orv::tool
