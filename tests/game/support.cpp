#include "support.h"

#include <gtest/gtest.h>

#include <sstream>

#include "game/game.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace test {

int RunProgram(int nCmdShow)
{
    static char commandLine[] = "";
    return WinMain(winsim::ModuleHandle(), nullptr, commandLine, nCmdShow);
}

void RunInRound(const std::function<void()>& during)
{
    winsim::ScheduleCall(kInRound, [&] {
        KillTimer(winsim::MainWindow(), TIMER_ID);
        during();
        winsim::ScheduleCloseRequest(winsim::Now() + 1);
    });
    RunProgram();
    ExpectNoStandInErrors();
}

void RepaintAll()
{
    InvalidateRect(winsim::MainWindow(), nullptr, TRUE);
    UpdateWindow(winsim::MainWindow());
}

std::vector<winsim::Call> CallsNamed(const std::vector<winsim::Call>& log,
                                     std::initializer_list<const char*> names)
{
    std::vector<winsim::Call> out;
    for (const winsim::Call& call : log) {
        for (const char* name : names) {
            if (call.name == name) {
                out.push_back(call);
                break;
            }
        }
    }
    return out;
}

std::vector<winsim::Call> CallsInside(const std::vector<winsim::Call>& log, UINT message)
{
    std::vector<winsim::Call> out;
    size_t i = 0;
    while (i < log.size() &&
           !(log[i].name == "WndProc" && !log[i].args.empty() &&
             log[i].args[0] == static_cast<std::intptr_t>(message)))
        ++i;
    if (i == log.size())
        return out;
    // The handler's own calls, and those of whatever it made nested, are
    // deeper than the delivery itself.
    const int depth = log[i].depth;
    for (++i; i < log.size() && log[i].depth > depth; ++i)
        out.push_back(log[i]);
    return out;
}

std::string Describe(const winsim::Call& call)
{
    std::ostringstream out;
    out << call.name << "(";
    for (size_t i = 0; i < call.args.size(); ++i)
        out << (i ? ", " : "") << call.args[i];
    if (!call.text.empty())
        out << (call.args.empty() ? "" : ", ") << '"' << call.text << '"';
    out << ") = " << call.result << " @" << call.depth;
    return out.str();
}

void ExpectSequence(const std::vector<winsim::Call>& actual,
                    const std::vector<ExpectedCall>& expected, const std::string& context,
                    const char* file, int line)
{
    std::ostringstream problems;
    const size_t n = std::max(actual.size(), expected.size());
    for (size_t i = 0; i < n; ++i) {
        if (i >= actual.size()) {
            problems << "  [" << i << "] expected " << expected[i].name << ", got nothing\n";
            continue;
        }
        if (i >= expected.size()) {
            problems << "  [" << i << "] expected nothing, got " << Describe(actual[i]) << "\n";
            continue;
        }
        const ExpectedCall& want = expected[i];
        const winsim::Call& got = actual[i];
        bool same = got.name == want.name && got.args.size() >= want.args.size();
        for (size_t a = 0; same && a < want.args.size(); ++a)
            same = want.args[a] == kAny || want.args[a] == got.args[a];
        if (same && !want.text.empty())
            same = got.text == want.text;
        if (!same)
            problems << "  [" << i << "] expected " << want.name << ", got " << Describe(got) << "\n";
    }
    if (!problems.str().empty()) {
        std::ostringstream dump;
        for (const winsim::Call& call : actual)
            dump << "    " << Describe(call) << "\n";
        ADD_FAILURE_AT(file, line) << context << ":\n" << problems.str() << "  actual:\n" << dump.str();
    }
}

void ExpectNoStandInErrors()
{
    for (const std::string& error : winsim::Errors())
        ADD_FAILURE() << "stand-in: " << error;
}

std::intptr_t Handle(const void* handle)
{
    return reinterpret_cast<std::intptr_t>(handle);
}

}  // namespace test
