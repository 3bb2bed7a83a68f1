// resources.cpp: the module's resources, found through the resource script.
//
// The host has no executable image to read resources from, so the stand-in
// reads what the resource compiler reads: the script res/moktu.rc, the
// #defines of the headers it includes, and the files its lines name
// (`IDB_HOLE BITMAP "hole.bmp"`). Blocks (VERSIONINFO and the like),
// LANGUAGE and preprocessor lines other than #include and #define are
// skipped. A bitmap resource holds its file without the 14-byte file header,
// as in the executable; every other resource holds its file as it is.
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "winsim/internal.h"

#ifndef WINSIM_RESOURCE_DIR
#error "WINSIM_RESOURCE_DIR must name the directory of the resource script"
#endif

using namespace winsim::detail;

namespace winsim {
namespace detail {

namespace {

constexpr const char* kScriptName = "moktu.rc";
constexpr std::size_t kBitmapFileHeader = 14;

struct Resources {
    std::string directory = WINSIM_RESOURCE_DIR;
    bool loaded = false;
    std::map<std::string, long> defines;
    std::vector<ResourceEntry> entries;
};

Resources& R()
{
    static Resources r;
    return r;
}

bool ReadFile(const std::string& path, std::string* out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Removes // and /* */ comments, leaving quoted strings alone.
std::string StripComments(const std::string& s)
{
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (quoted) {
            out.push_back(c);
            if (c == '"') quoted = false;
        } else if (c == '"') {
            quoted = true;
            out.push_back(c);
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            while (i < s.size() && s[i] != '\n') ++i;
            out.push_back('\n');
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            std::size_t end = s.find("*/", i + 2);
            for (std::size_t k = i; k < (end == std::string::npos ? s.size() : end); ++k)
                if (s[k] == '\n') out.push_back('\n');
            i = end == std::string::npos ? s.size() : end + 1;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Words, and quoted strings with their quotes (a doubled quote is one quote).
std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> t;
    for (std::size_t i = 0; i < line.size();) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
            ++i;
        } else if (c == '"') {
            std::string s = "\"";
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    s.push_back('"');
                    ++i;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else {
                    s.push_back(line[i]);
                }
            }
            t.push_back(s);
        } else {
            std::size_t j = i;
            while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j])) && line[j] != ',' &&
                   line[j] != '"')
                ++j;
            t.push_back(line.substr(i, j - i));
            i = j;
        }
    }
    return t;
}

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool ResolveNumber(std::string word, long* value)
{
    while (word.size() >= 2 && word.front() == '(' && word.back() == ')') word = word.substr(1, word.size() - 2);
    auto def = R().defines.find(word);
    if (def != R().defines.end()) {
        *value = def->second;
        return true;
    }
    if (word.empty() || !std::isdigit(static_cast<unsigned char>(word[0]))) return false;
    try {
        std::size_t used = 0;
        long v = std::stol(word, &used, 0);
        while (used < word.size() && (word[used] == 'L' || word[used] == 'l' || word[used] == 'U' || word[used] == 'u')) ++used;
        if (used != word.size()) return false;
        *value = v;
        return true;
    } catch (...) {
        return false;
    }
}

void ParseFile(const std::string& path, bool isScript);

void ParseDirective(const std::vector<std::string>& t)
{
    if (t[0] == "#define" && t.size() >= 3) {
        long v;
        if (ResolveNumber(t[2], &v)) R().defines[t[1]] = v;
    } else if (t[0] == "#include" && t.size() >= 2 && t[1].size() > 1 && t[1][0] == '"') {
        // Headers of our own; <system headers> do not exist here and define no ids.
        ParseFile(R().directory + "/" + t[1].substr(1), false);
    }
}

std::string FilePath(std::string name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\') {
            if (i + 1 < name.size() && name[i + 1] == '\\') ++i;
            out.push_back('/');
        } else {
            out.push_back(name[i]);
        }
    }
    return out.size() && out[0] == '/' ? out : R().directory + "/" + out;
}

void ParseFile(const std::string& path, bool isScript)
{
    std::string text;
    if (!ReadFile(path, &text)) {
        if (isScript) Error("resources: cannot read the resource script " + path);
        return;
    }
    std::istringstream lines(StripComments(text));
    std::string line;
    int depth = 0;
    while (std::getline(lines, line)) {
        std::vector<std::string> t = Tokens(line);
        if (t.empty()) continue;
        if (t[0][0] == '#') {
            ParseDirective(t);
            continue;
        }
        if (!isScript) continue;
        int opened = 0;
        for (const std::string& w : t) {
            std::string u = Upper(w);
            if (u == "BEGIN" || u == "{") ++opened;
            if (u == "END" || u == "}") --opened;
        }
        bool statement = depth == 0 && opened == 0 && t.size() >= 3 && t.back()[0] == '"' && Upper(t[0]) != "LANGUAGE";
        depth += opened;
        if (!statement) continue;
        long id;
        if (!ResolveNumber(t[0], &id)) continue;   // named resources are not used here
        std::string type = t[1][0] == '"' ? t[1].substr(1) : t[1];
        R().entries.push_back(ResourceEntry{static_cast<int>(id), Upper(type), FilePath(t.back().substr(1))});
    }
}

void Load()
{
    Resources& r = R();
    if (r.loaded) return;
    r.loaded = true;
    r.defines.clear();
    r.entries.clear();
    ParseFile(r.directory + "/" + kScriptName, true);
}

}  // namespace

const ResourceEntry* FindResource(int id, const std::string& type)
{
    Load();
    for (const ResourceEntry& e : R().entries)
        if (e.id == id && e.type == Upper(type)) return &e;
    return nullptr;
}

bool IsOurModule(HINSTANCE h) { return Value(h) == kModuleHandle; }

}  // namespace detail

HINSTANCE ModuleHandle() { return MakeHandle<HINSTANCE>(kModuleHandle); }

void SetResourceDirectory(const std::string& directory)
{
    R().directory = directory;
    R().loaded = false;
}

std::vector<std::uint8_t> ResourceBytes(int id, const std::string& type)
{
    const ResourceEntry* e = FindResource(id, type);
    if (!e) return {};
    std::string bytes;
    if (!ReadFile(e->path, &bytes)) {
        Error("resources: cannot read " + e->path + " for resource " + std::to_string(id));
        return {};
    }
    std::size_t skip = 0;
    if (e->type == "BITMAP" && bytes.size() >= kBitmapFileHeader && bytes[0] == 'B' && bytes[1] == 'M')
        skip = kBitmapFileHeader;
    return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(skip), bytes.end());
}

}  // namespace winsim

namespace {

// Icons and cursors are shared: loading one twice gives the same handle.
HICON LoadShared(const char* name, HINSTANCE hInstance, LPCSTR lpName, const char* type)
{
    std::size_t call = BeginCall(name, {static_cast<std::intptr_t>(Value(hInstance)), ResourceNameId(lpName)},
                                 ResourceNameText(lpName));
    std::intptr_t id = ResourceNameId(lpName);
    bool found = false;
    if (hInstance == nullptr)
        found = id >= 32512 && id <= 32650;   // the system's own icons and cursors
    else if (IsOurModule(hInstance) && IS_INTRESOURCE(lpName))
        found = FindResource(static_cast<int>(id), type) != nullptr;
    if (!found) return nullptr;
    std::string key = std::string(type) + (hInstance ? "@" : "#") + std::to_string(id);
    HICON& h = M().sharedIcons[key];
    if (h == nullptr) {
        h = MakeHandle<HICON>(M().nextIcon);
        M().nextIcon += 4;
    }
    EndCall(call, static_cast<std::intptr_t>(Value(h)));
    return h;
}

}  // namespace

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName)
{
    return LoadShared("LoadIconA", hInstance, lpIconName, "ICON");
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    return LoadShared("LoadCursorA", hInstance, lpCursorName, "CURSOR");
}
