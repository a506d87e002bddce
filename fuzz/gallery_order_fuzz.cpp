// The gallery order file (ORVBook.odr) is the user's and may hold anything. Any bytes, read as
// its lines, must order the found galleries as a permutation that keeps names and files
// together, and name as new only galleries that were found.

#include "FuzzFile.h"
#include "app/GalleryList.h"
#include "app/common/TextHelpers.h"

#include <algorithm>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using orv::fuzz::Check;
    std::vector<std::string> lines;
    orv::ReadLines(orv::fuzz::WriteScratch("odr", data, size), lines);
    const std::vector<std::string> foundNames = { "机械零件图库", "Elec", "elec", "", "Pipes" };
    std::vector<std::string> names = foundNames, files;
    for (std::size_t i = 0; i < names.size(); ++i)
        files.push_back("lib\\" + std::to_string(i) + ".GAL");
    const std::vector<std::string> added = orv::OrderGalleries(lines, names, files);

    Check(names.size() == foundNames.size() && files.size() == foundNames.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        // Each file still carries the name it was found with.
        const std::size_t found = static_cast<std::size_t>(std::stoul(files[i].substr(4)));
        Check(found < foundNames.size() && names[i] == foundNames[found]);
    }
    Check(std::set<std::string>(files.begin(), files.end()).size() == files.size());
    for (const std::string& name : added)
        Check(std::find(foundNames.begin(), foundNames.end(), name) != foundNames.end());
    return 0;
}
