#pragma once
#include <string>
#include <termios.h>

// A pseudo-terminal pair standing in for a serial cable: the program opens
// the slave through its COM number, the test talks on the master. The pair
// keeps a slave descriptor of its own so the master never sees a hang-up
// while the program has the port closed.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Maps the slave to COM n in the port map (use with TempSettings).
    void MapTo(int comPort) const;

    int MasterFd() const { return m_master; }
    // The slave end as the pair holds it open (for a peer that is no port).
    int SlaveFd() const { return m_slave; }
    const std::string& SlavePath() const { return m_slavePath; }
    // The terminal settings the program applied, as the master sees them.
    termios SlaveTermios() const;
    // Unplugs the cable: the program's side reads a hang-up.
    void CloseMaster();
    // Descriptors of this process open on the slave, the pair's own included.
    int SlaveDescriptors() const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};
