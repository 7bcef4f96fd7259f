#include "service/rangement.h"

#include <atomic>
#include <chrono>

namespace tarvex::dnc {

namespace {

// Tasks given and not yet back on the event loop, every Rangement counted.
std::atomic<int> enCours{0};

}  // namespace

Rangement::Rangement(QObject* parent) : QObject(parent), fil_([this] { boucle(); }) {}

Rangement::~Rangement()
{
    finir();
    {
        std::lock_guard verrou(garde_);
        fin_ = true;
    }
    signal_.notify_all();
    fil_.join();
}

void Rangement::confier(Tache tache)
{
    ++enCours;
    {
        std::lock_guard verrou(garde_);
        taches_.push_back(std::move(tache));
    }
    signal_.notify_all();
}

void Rangement::boucle()
{
    std::unique_lock verrou(garde_);
    for (;;) {
        signal_.wait(verrou, [this] { return fin_ || !taches_.empty(); });
        if (taches_.empty()) return;
        Tache t = std::move(taches_.front());
        taches_.pop_front();
        occupe_ = true;
        verrou.unlock();
        std::function<void()> suite = t();
        verrou.lock();
        occupe_ = false;
        faits_.push_back(suite ? std::move(suite) : [] {});
        signal_.notify_all();
        QMetaObject::invokeMethod(this, &Rangement::livrer, Qt::QueuedConnection);
    }
}

void Rangement::livrer()
{
    for (;;) {
        std::function<void()> suite;
        {
            std::lock_guard verrou(garde_);
            if (faits_.empty()) return;
            suite = std::move(faits_.front());
            faits_.pop_front();
        }
        suite();
        --enCours;
    }
}

void Rangement::finir()
{
    for (;;) {
        livrer();
        std::unique_lock verrou(garde_);
        if (taches_.empty() && !occupe_ && faits_.empty()) return;
        signal_.wait_for(verrou, std::chrono::milliseconds(50), [this] { return !faits_.empty(); });
    }
}

bool Rangement::auRepos() { return enCours == 0; }

}  // namespace tarvex::dnc
