// log.cpp: the call log, the error list and the machine's one instance.
#include <cstdio>

#include "winsim/internal.h"

namespace winsim {
namespace detail {

Machine& M()
{
    static Machine machine;
    return machine;
}

bool InRange(std::uintptr_t v, std::uintptr_t base)
{
    return v >= base && v < base + kHandleRange;
}

std::uintptr_t AllocateHandle(std::uintptr_t& next, std::uintptr_t base,
                              const std::function<bool(std::uintptr_t)>& taken)
{
    constexpr std::uintptr_t kFirst = 0x10, kStep = 4;
    for (std::uintptr_t tries = 0; tries < kHandleRange / kStep; ++tries) {
        if (next < base + kFirst || next >= base + kHandleRange) next = base + kFirst;
        std::uintptr_t v = next;
        next += kStep;
        if (!taken(v)) return v;
    }
    Error("no handle value left in the range at " + Hex(base));
    return base + kFirst;
}

std::size_t BeginCall(const char* name, std::vector<std::intptr_t> args, std::string text)
{
    if (!M().logging) {
        // Nothing is kept, but the hook still sees the call.
        if (M().callHook && !M().inCallHook) {
            Call c{name, std::move(args), std::move(text), 0, M().depth};
            M().inCallHook = true;
            std::function<void(const Call&)> hook = M().callHook;
            hook(c);
            M().inCallHook = false;
        }
        return static_cast<std::size_t>(-1);
    }
    Call c;
    c.name = name;
    c.args = std::move(args);
    c.text = std::move(text);
    c.depth = M().depth;
    M().log.push_back(std::move(c));
    std::size_t index = M().log.size() - 1;
    // The hook sees the call before it runs; calls the hook itself makes
    // are logged but do not call it again.
    if (M().callHook && !M().inCallHook) {
        M().inCallHook = true;
        Call copy = M().log[index];
        std::function<void(const Call&)> hook = M().callHook;
        hook(copy);
        M().inCallHook = false;
    }
    return index;
}

std::size_t BeginCall(const char* name, std::initializer_list<std::intptr_t> args, std::string text)
{
    return BeginCall(name, std::vector<std::intptr_t>(args), std::move(text));
}

std::intptr_t EndCall(std::size_t index, std::intptr_t result)
{
    // A test may clear the log while a call is still running (from a hook).
    if (index < M().log.size()) M().log[index].result = result;
    return result;
}

void Error(const std::string& what)
{
    M().errors.push_back(what);
}

std::string Hex(std::uintptr_t v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

std::string JoinStrings(const std::string& a, const std::string& b)
{
    std::string s = a;
    s.push_back('\0');
    s += b;
    return s;
}

std::string ResourceNameText(LPCSTR name)
{
    if (name == nullptr || IS_INTRESOURCE(name)) return std::string();
    return name;
}

std::intptr_t ResourceNameId(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(name)) : 0;
}

}  // namespace detail

const std::vector<Call>& Log() { return detail::M().log; }
void ClearLog() { detail::M().log.clear(); }
void SetLogging(bool on) { detail::M().logging = on; }

void Reset() { detail::M() = detail::Machine{}; }

Footprint MachineFootprint()
{
    const detail::Machine& m = detail::M();
    Footprint f;
    f.windows = m.windows.size();
    f.classes = m.classes.size();
    f.timers = m.timers.size();
    f.posted = m.posted.size() + (m.quitPosted ? 1 : 0);
    f.scripted = m.script.size();
    f.dcs = m.dcs.size();
    f.bitmaps = m.bitmaps.size();
    f.fonts = m.fonts.size();
    f.icons = m.sharedIcons.size();
    f.log = m.log.size();
    f.boxes = m.boxes.size();
    f.errors = m.errors.size();
    for (const auto& [v, dc] : m.dcs) f.heldBytes += dc.clip.capacity();
    for (const auto& [v, b] : m.bitmaps) f.heldBytes += b.pixels.capacity() * sizeof(std::uint32_t);
    return f;
}
void SetCallHook(std::function<void(const Call&)> hook) { detail::M().callHook = std::move(hook); }
const std::vector<std::string>& Errors() { return detail::M().errors; }

}  // namespace winsim
