#pragma once
// What the engines that drive a connection's line (scripts, typed-command
// watchers, instrument detection) need of the connection: its port and line
// settings, a break, a prompt wait and the options that steer them. The
// connection document implements it; engines hold no window or application.
#include "PortConfig.h"

#include <cstdint>
#include <memory>
#include <string>

class CSerialPort;

class ILineConnection {
public:
    // The commands the typed-command watchers have seen so far, one each.
    enum class TypedWatch { Baud, Recorder, Ping, LoopRecorder };

    // Keeps the connection alive until the returned holder goes.
    virtual std::shared_ptr<void> HoldWhileRunning() = 0;
    virtual CSerialPort& Port() = 0;
    virtual bool IsConnected() const = 0;
    virtual PortConfig& LineSettings() = 0;
    virtual void ApplyPortSettings() = 0;
    virtual void SavePortConfig() = 0;
    virtual void SendBreak() = 0;
    // Collects the reply up to the prompt '>'; false when none came in time.
    virtual bool WaitForPrompt(std::string& reply, std::uint16_t seconds) = 0;

    // The options: "CK" after a rate change, and a break sent as "===".
    virtual bool SendsCheckAfterRateChange() const = 0;
    virtual bool UsesSoftwareBreak() const = 0;

    virtual std::string& TypedSoFar(TypedWatch watch) = 0;
    virtual void SetPinging(bool pinging) = 0;

protected:
    ~ILineConnection() = default;
};
