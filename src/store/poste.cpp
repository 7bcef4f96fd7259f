#include "store/poste.h"

#include <climits>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace tarvex::poste {

#ifdef _WIN32
namespace {

std::string utf8(const wchar_t* w, int n)
{
    if (n <= 0) return {};
    const int taille = WideCharToMultiByte(CP_UTF8, 0, w, n, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(taille > 0 ? taille : 0), '\0');
    if (taille > 0) WideCharToMultiByte(CP_UTF8, 0, w, n, s.data(), taille, nullptr, nullptr);
    return s;
}

}  // namespace

std::string nom()
{
    wchar_t b[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(b, &n) ? utf8(b, static_cast<int>(n)) : std::string();
}

std::string utilisateur()
{
    wchar_t b[256];
    const DWORD n = GetEnvironmentVariableW(L"USERNAME", b, 256);
    return n > 0 && n < 256 ? utf8(b, static_cast<int>(n)) : std::string();
}

long long processus() { return static_cast<long long>(GetCurrentProcessId()); }

bool processusActif(long long numero)
{
    if (numero <= 0 || numero > 0xFFFFFFFFLL) return false;
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(numero));
    if (h == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool actif = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    CloseHandle(h);
    return actif;
}
#else
std::string nom()
{
    char b[256] = {};
    if (::gethostname(b, sizeof b - 1) != 0) return {};
    return b;
}

std::string utilisateur()
{
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* v = std::getenv(variable); v != nullptr && *v != '\0') return v;
    const passwd* pw = ::getpwuid(::geteuid());
    return pw != nullptr && pw->pw_name != nullptr ? pw->pw_name : "";
}

long long processus() { return static_cast<long long>(::getpid()); }

bool processusActif(long long numero)
{
    // 0 and negative numbers would name process groups.
    if (numero <= 0 || numero > INT_MAX) return false;
    return ::kill(static_cast<pid_t>(numero), 0) == 0 || errno == EPERM;
}
#endif

}  // namespace tarvex::poste
