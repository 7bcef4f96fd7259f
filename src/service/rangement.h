#pragma once
// What the service writes to disk (programs kept, noise, journal lines) is
// written on a thread of its own: a file server that takes a second per
// fsync, or a control that punches noise all day, must not hold the event
// loop that serves the other lines and the windows. Each task runs in the
// order given; what it returns is then run back on the event loop's thread.

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace tarvex::dnc {

class Rangement : public QObject {
    Q_OBJECT
public:
    // Run on the storing thread; what it returns runs back on the event loop.
    using Tache = std::function<std::function<void()>()>;

    explicit Rangement(QObject* parent = nullptr);
    ~Rangement() override;  // finishes what was given (finir)

    void confier(Tache tache);
    // Waits until every task given, and every one that their results give
    // in turn, is done and its result run: the program ends, or the lines
    // are read again.
    void finir();

    // No task of any Rangement waiting or running, no result waiting for
    // the event loop: what a test checks on disk is all there.
    static bool auRepos();

private:
    void boucle();
    void livrer();

    std::mutex garde_;
    std::condition_variable signal_;
    std::deque<Tache> taches_;
    std::deque<std::function<void()>> faits_;
    bool occupe_ = false;
    bool fin_ = false;
    std::thread fil_;
};

}  // namespace tarvex::dnc
