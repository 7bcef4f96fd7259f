#pragma once
// What a reader or a writer of the data folder reports when a file is not as
// expected. The windows show these texts to the operator as they stand, so
// they are written in French and always name the file concerned.

#include <string>
#include <utility>
#include <vector>

namespace tarvex {

struct Probleme {
    std::string fichier;  // path as the program writes it, e.g. data\machine\TOUR 1\com.txt
    std::string detail;   // what is wrong with it

    std::string texte() const { return fichier + " : " + detail; }
    bool operator==(const Probleme&) const = default;
};

using Problemes = std::vector<Probleme>;

// A value read from the data folder together with whatever went wrong while
// reading it. The value holds everything that could be read: a reader never
// throws away the part of a file that was readable.
template <class T>
struct Lu {
    T valeur{};
    Problemes problemes;

    bool ok() const { return problemes.empty(); }
    void signaler(std::string fichier, std::string detail)
    {
        problemes.push_back({std::move(fichier), std::move(detail)});
    }
    void ajouter(const Problemes& autres) { problemes.insert(problemes.end(), autres.begin(), autres.end()); }
};

// Outcome of a storing operation: empty when it went through.
struct Resultat {
    Problemes problemes;
    bool ok() const { return problemes.empty(); }
    static Resultat echec(std::string fichier, std::string detail)
    {
        Resultat r;
        r.problemes.push_back({std::move(fichier), std::move(detail)});
        return r;
    }
};

std::string joindreProblemes(const Problemes& problemes);  // one line each

}  // namespace tarvex
