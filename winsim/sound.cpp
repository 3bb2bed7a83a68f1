// sound.cpp: PlaySoundA. Nothing is heard; the call is logged and a sound
// from the module's resources must exist under the type "WAVE" and be a
// RIFF/WAVE file, as the system requires to play it.
#include "winsim/internal.h"

using namespace winsim::detail;

BOOL WINAPI PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound)
{
    std::size_t call = BeginCall("PlaySoundA", {ResourceNameId(pszSound), static_cast<std::intptr_t>(Value(hmod)),
                                                static_cast<std::intptr_t>(fdwSound)},
                                 ResourceNameText(pszSound));
    if (pszSound == nullptr) return static_cast<BOOL>(EndCall(call, TRUE));   // stops what plays
    if ((fdwSound & SND_RESOURCE) != SND_RESOURCE) {
        Error("PlaySoundA: only sounds from resources are modelled");
        return static_cast<BOOL>(EndCall(call, FALSE));
    }
    if (!(fdwSound & SND_ASYNC)) Error("PlaySoundA: a synchronous sound would block the thread; not modelled");
    std::string what = IS_INTRESOURCE(pszSound) ? std::to_string(ResourceNameId(pszSound)) : pszSound;
    if (!IsOurModule(hmod) || !IS_INTRESOURCE(pszSound) ||
        !FindResource(static_cast<int>(ResourceNameId(pszSound)), "WAVE")) {
        Error("PlaySoundA: no WAVE resource " + what + " in module " + Hex(Value(hmod)));
        return static_cast<BOOL>(EndCall(call, FALSE));
    }
    std::vector<std::uint8_t> b = winsim::ResourceBytes(static_cast<int>(ResourceNameId(pszSound)), "WAVE");
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" || std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
        Error("PlaySoundA: WAVE resource " + what + " is not a RIFF/WAVE file");
        return static_cast<BOOL>(EndCall(call, FALSE));
    }
    return static_cast<BOOL>(EndCall(call, TRUE));
}
