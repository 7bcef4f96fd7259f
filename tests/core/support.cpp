#include "support.h"

#include <fstream>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace tarvex::test {
namespace {

// Test paths are UTF-8, as the store's are; on Windows a narrow path would be
// taken in the system code page instead.
fs::path cheminUtf8(const std::string& chemin) { return fs::path(std::u8string(chemin.begin(), chemin.end())); }

// Files an interrupted operation may leave beside the data, which the next
// run of it discards or overwrites.
bool reste(const std::string& chemin)
{
    return chemin.ends_with(".~tvx") || chemin.ends_with("/data.tmp") || chemin.ends_with("/machinetemp.txt");
}

// The items of a record line, as far as a folder name needs them.
std::vector<std::string> champs(const std::string& ligne)
{
    std::vector<std::string> r(1);
    for (char c : ligne) c == ',' ? void(r.emplace_back()) : r.back().push_back(c);
    return r;
}

}  // namespace

void Panne::avant(std::string_view chemin)
{
    if (++compte_ == n_) throw fichiers::ErreurFichier(std::string(chemin), "panne simulée");
}

void DossierDeTravail::SetUp()
{
    precedent_ = fs::current_path();
    std::random_device rd;
    dossier_ = fs::temp_directory_path() / ("tarvex-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(dossier_), fs::current_path(dossier_);
}

void DossierDeTravail::TearDown()
{
    fs::current_path(precedent_);
    std::error_code ec;
#ifdef _WIN32
    // Under the "\\?\" prefix, so that a folder named like a device
    // (data\recus\COM2) is removed as a folder.
    fs::remove_all(L"\\\\?\\" + dossier_.wstring(), ec);
#else
    fs::remove_all(dossier_, ec);
#endif
}

void DossierDeTravail::poser(const std::string& chemin, const std::string& octets)
{
    const fs::path p = cheminUtf8(chemin);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(octets.data(), static_cast<std::streamsize>(octets.size()));
}

std::string DossierDeTravail::contenu(const std::string& chemin)
{
    std::ifstream in(cheminUtf8(chemin), std::ios::binary);
    return in ? std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()) : "<absent>";
}

bool DossierDeTravail::present(const std::string& chemin)
{
    fs::path p = cheminUtf8(chemin);
    if (!p.has_filename()) p = p.parent_path();  // "dossier/"
    std::error_code ec;
    if (!fs::exists(p, ec)) return false;
    // Windows finds a file under any letter case: the name must be on disk as spelt.
    for (const auto& e : fs::directory_iterator(p.has_parent_path() ? p.parent_path() : ".", ec))
        if (e.path().filename() == p.filename()) return true;
    return false;
}

Instantane DossierDeTravail::instantane(const std::string& dossier, bool relatif)
{
    Instantane r;
    const fs::path racine = cheminUtf8(dossier);
    if (!fs::exists(racine)) return r;
    for (const auto& e : fs::recursive_directory_iterator(racine)) {
        const std::u8string u = e.path().generic_u8string(), cle = relatif ? fs::relative(e.path(), racine).generic_u8string() : u;
        r[std::string(cle.begin(), cle.end())] = e.is_directory() ? "<dossier>" : contenu(std::string(u.begin(), u.end()));
    }
    return r;
}

Instantane DossierDeTravail::horsArchives(Instantane i, bool restes)
{
    std::erase_if(i, [restes](const auto& e) { return e.first.starts_with("data/archives") || (restes && reste(e.first)); });
    return i;
}

void DossierDeTravail::poserFiche(const std::string& enregistrement, const Instantane& fichiers)
{
    const std::string index = present("data/data.txt") ? contenu("data/data.txt") : "";
    poser("data/data.txt", index + enregistrement + (enregistrement.ends_with("\r\n") ? "" : "\r\n"));
    const auto c = champs(enregistrement);
    const std::string d = "data/" + c.at(0) + "_Phase " + c.at(1) + "_" + c.at(3) + "_" + c.at(2) + "/";
    fs::create_directories(cheminUtf8(d));
    for (const auto& [nom, octets] : fichiers) poser(d + nom, octets);
}

void DossierDeTravail::poserMachine(const std::string& nom, const Instantane& fichiers)
{
    const std::string liste = present("data/machine.txt") ? contenu("data/machine.txt") : "";
    poser("data/machine.txt", liste + nom + "\r\n");
    poser("data/machine/" + nom + "/com.txt", kComTourNum);
    for (const auto& [f, octets] : fichiers) poser("data/machine/" + nom + "/" + f, octets);
}

int DossierDeTravail::aChaqueOperation(const Arrets& a)
{
    const auto etat = [&] { return a.etat ? a.etat() : instantane(); };
    a.preparer();
    const Instantane avant = etat();
    const Resultat propre = a.operation();
    EXPECT_TRUE(propre.ok()) << joindreProblemes(propre.problemes);
    const Instantane apres = etat();

    for (int n = 1; n < 200; ++n) {
        SCOPED_TRACE("arrêt à l'opération " + std::to_string(n));
        a.preparer();
        Resultat r;
        bool arrete = false;
        {
            Panne panne(n);
            r = a.operation();
            arrete = panne.operations() >= n;
        }
        if (!arrete || r.ok()) {
            EXPECT_TRUE(r.ok()) << joindreProblemes(r.problemes);
            EXPECT_EQ(etat(), apres);
            if (!arrete) return n - 1;
            continue;
        }
        for (const auto& p : r.problemes) EXPECT_FALSE(p.fichier.empty()) << p.detail;
        const Instantane milieu = etat();
        std::set<std::string> chemins;
        for (const auto* i : {&avant, &apres, &milieu})
            for (const auto& e : *i) chemins.insert(e.first);
        const auto etatDe = [](const Instantane& i, const std::string& c) { return i.count(c) ? i.at(c) : "<absent>"; };
        for (const auto& c : chemins) {
            if (reste(c)) continue;
            const std::string m = etatDe(milieu, c);
            EXPECT_TRUE(m == etatDe(avant, c) || m == etatDe(apres, c)) << c << " :\n" << m;
        }
        if (a.aussi) a.aussi(avant, apres, milieu);
        if (a.reprendre) {
            const Resultat reprise = a.operation();
            EXPECT_TRUE(reprise.ok()) << joindreProblemes(reprise.problemes);
            EXPECT_EQ(etat(), apres);
        }
    }
    ADD_FAILURE() << "l'opération n'a jamais abouti";
    return 0;
}

}  // namespace tarvex::test
