// Reads every #include "..." under src/ and fails when a folder includes a
// folder it may not. Each layer includes only the layers below it:
//
//   app      forms, session, platform, reports, records
//   forms    session, platform, reports, records
//   session  platform, records
//   reports  records, the Core-only platform services
//   records  the Core-only platform services
//   platform nothing of the program; the Core-only services not even the
//            rest of the platform folder
//
// Usage: include_rule <src folder> <Core-only platform header>...
// The Core-only headers are the ones the build puts into the Core library.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What a folder may include besides itself. "platform-core" stands for the
// Core-only platform headers, "platform" for the whole platform folder.
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"app", {"forms", "session", "platform", "reports", "records"}},
    {"forms", {"session", "platform", "reports", "records"}},
    {"session", {"platform", "records"}},
    {"reports", {"records", "platform-core"}},
    {"records", {"platform-core"}},
    {"platform", {}},
};

std::string firstPart(const std::string& path)
{
    const auto slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::cerr << "usage: include_rule <src folder> <Core-only platform header>...\n";
        return 2;
    }
    const fs::path src = argv[1];
    std::set<std::string> coreHeaders;
    for (int i = 2; i < argc; ++i)
        coreHeaders.insert(argv[i]);
    if (coreHeaders.empty()) {
        std::cerr << "no Core-only platform headers given\n";
        return 2;
    }

    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());

    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    int offences = 0;
    int checked = 0;
    for (const fs::path& file : files) {
        const std::string name = fs::relative(file, src).generic_string();
        const std::string folder = firstPart(name);
        const auto rule = kAllowed.find(folder);
        if (rule == kAllowed.end()) {
            std::cout << name << ": in no known layer; add its folder to the include rule\n";
            ++offences;
            continue;
        }
        const bool coreFile = coreHeaders.count(fs::path(name).replace_extension(".h").generic_string()) > 0;
        std::ifstream in(file);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, include))
                continue;
            ++checked;
            const std::string target = match[1];
            std::string layer = firstPart(target);
            if (layer.empty())
                layer = folder; // a file next to this one
            bool ok = layer == folder || rule->second.count(layer) > 0;
            if (layer == "platform") {
                const bool core = coreHeaders.count(target) > 0;
                if (folder == "platform")
                    ok = !coreFile || core;
                else if (!ok)
                    ok = core && rule->second.count("platform-core") > 0;
            }
            if (!ok) {
                const std::string who = folder == "platform" ? "a Core-only platform service" : folder;
                std::cout << name << ':' << number << ": " << line << "\n    " << who
                          << " may not include " << target << '\n';
                ++offences;
            }
        }
    }
    if (offences > 0) {
        std::cout << offences << " forbidden include(s)\n";
        return 1;
    }
    std::cout << checked << " includes in " << files.size() << " files keep the layers\n";
    return 0;
}
