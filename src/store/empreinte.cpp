#include "store/empreinte.h"

#include "store/chemins.h"

#include <filesystem>

namespace tarvex {

Empreinte empreinte(std::string_view chemin)
{
    namespace fs = std::filesystem;
    const fs::path p = chemins::resoudre(chemin);
    std::error_code ec;
    Empreinte e;
    e.taille = fs::file_size(p, ec);
    if (ec) return {};
    const auto temps = fs::last_write_time(p, ec);
    if (ec) return {};
    e.presente = true;
    e.temps = static_cast<std::int64_t>(temps.time_since_epoch().count());
    return e;
}

bool aChange(std::string_view chemin, Empreinte& vue)
{
    const Empreinte maintenant = empreinte(chemin);
    if (maintenant == vue) return false;
    vue = maintenant;
    return true;
}

}  // namespace tarvex
