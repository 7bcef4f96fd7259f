#pragma once
// Where a program received from a control ends. The bytes come in pieces as
// the line delivers them; a program ends at its DC3 (and on a FANUC line at
// a "%" line after its first line). A line that never sends an end cannot
// make memory grow: past the bound what came is cut off as incomplete.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::dnc {

inline constexpr std::size_t kRecuMaximum = 16u * 1024 * 1024;

struct ProgrammeRecu {
    std::string octets;  // without DC3s
    bool complet = true;
    bool dc3 = false;    // ended by its DC3, which came on the line but is not in octets
    bool suite = false;  // what followed a cut at the bound: the rest of a program, whatever its first line
};

// What a control punches is a program when the first line of what came
// after its leader begins with "%" (NUM) or with "O" and a digit (FANUC);
// anything else is noise on the line (a cable moved, a control punching
// DC3s), not to be kept as a program.
bool estProgramme(std::string_view octets);

class Lecture {
public:
    explicit Lecture(bool fanuc, std::size_t limite = kRecuMaximum);
    // The programs ended by these bytes (a DC3; on a FANUC line also a "%" line after the first
    // line); past `limite` what came is cut and returned incomplete and reading starts afresh.
    // NULs, blanks and line ends before a program's first character (the
    // leader the control punches) are not part of it.
    std::vector<ProgrammeRecu> ajouter(std::string_view octets);
    // A line error or 10 s of silence: what is pending, incomplete (none if only leader/blanks).
    std::optional<ProgrammeRecu> couper();
    // Something other than leader/blanks is pending.
    bool enCours() const;

private:
    void octet(char c, std::vector<ProgrammeRecu>& finis);
    void terminer(bool complet, std::vector<ProgrammeRecu>& finis, bool dc3 = false);

    bool fanuc_;
    std::size_t limite_;
    std::string enCours_;
    // Where the line being received starts in enCours_, and whether a line
    // other than the first is that one.
    std::size_t debutLigne_ = 0;
    bool apresPremiereLigne_ = false;
    // The piece after a cut lacks its beginning: it is incomplete too,
    // though its own end came.
    bool suite_ = false;
};

}  // namespace tarvex::dnc
