#include "store/lecteur.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvex {
namespace {

std::vector<std::string> items(std::string_view texte)
{
    std::vector<std::string> r;
    LecteurItems l(texte);
    while (!l.fin()) r.push_back(l.suivant());
    return r;
}

TEST(LecteurItems, Basique)
{
    EXPECT_EQ(items("a,b\r\nc"), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace tarvex
