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

std::size_t BeginCall(const char* name, std::vector<std::intptr_t> args, std::string text)
{
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
void SetCallHook(std::function<void(const Call&)> hook) { detail::M().callHook = std::move(hook); }
const std::vector<std::string>& Errors() { return detail::M().errors; }

}  // namespace winsim
