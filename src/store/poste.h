#pragma once
// This computer as the data lock names it, and whether a process of it still
// runs: the system is asked directly, so that the core needs no window
// library to tell a lock left by a stopped program from one being used.

#include <string>

namespace tarvex::poste {

std::string nom();          // the computer's name, UTF-8 ("" when the system gives none)
std::string utilisateur();  // the name of the user who started the program, UTF-8
long long processus();      // this process's number

// Whether a process of this computer with that number runs. A number the
// system refuses to tell about (a process of another user) runs.
bool processusActif(long long numero);

}  // namespace tarvex::poste
