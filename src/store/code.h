#pragma once
// The authorisation code asked before every change of the stored data.

#include "store/probleme.h"

#include <optional>
#include <string>

namespace tarvex {

inline constexpr const char* kFichierCode = "data\\code.tvx";

struct VerificationCode {
    bool accepte = false;
    std::optional<Probleme> probleme;  // the code file could not be read: every code is refused
};

// Compares the typed code, exactly as typed, with the first item of
// data\code.tvx without its surrounding blanks. Letter case counts.
VerificationCode verifcode(const std::string& tape);

}  // namespace tarvex
