#include "SerialLine.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

struct RateCode {
    std::uint32_t baud;
    speed_t code;
};

constexpr std::array<RateCode, 10> kRates{{{300, B300},
                                           {600, B600},
                                           {1200, B1200},
                                           {2400, B2400},
                                           {4800, B4800},
                                           {9600, B9600},
                                           {19200, B19200},
                                           {38400, B38400},
                                           {57600, B57600},
                                           {115200, B115200}}};

bool SpeedCode(std::uint32_t baud, speed_t& code)
{
    for (const RateCode& rate : kRates) {
        if (rate.baud == baud) {
            code = rate.code;
            return true;
        }
    }
    return false;
}

std::uint32_t BaudOf(speed_t code)
{
    for (const RateCode& rate : kRates) {
        if (rate.code == code)
            return rate.baud;
    }
    return 0;
}

bool SizeFlag(std::uint8_t byteSize, tcflag_t& flag)
{
    switch (byteSize) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false;
    }
}

std::uint8_t SizeOf(tcflag_t cflag)
{
    switch (cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

void SetParity(termios& tio, std::uint8_t parity)
{
    tio.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case ODDPARITY: tio.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: tio.c_cflag |= PARENB; break;
    case MARKPARITY: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: tio.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
}

std::uint8_t ParityOf(tcflag_t cflag)
{
    if (!(cflag & PARENB))
        return NOPARITY;
    if (cflag & CMSPAR)
        return (cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    return (cflag & PARODD) ? ODDPARITY : EVENPARITY;
}

std::mutex& ObserverLock()
{
    static std::mutex lock;
    return lock;
}

BreakObserver& Observer()
{
    static BreakObserver observer;
    return observer;
}

void NotifyBreak(const std::string& path, bool on)
{
    BreakObserver observer;
    {
        std::lock_guard<std::mutex> guard(ObserverLock());
        observer = Observer();
    }
    if (observer)
        observer(path, on);
}

} // namespace

void SetBreakObserver(BreakObserver observer)
{
    std::lock_guard<std::mutex> guard(ObserverLock());
    Observer() = std::move(observer);
}

bool IsSupportedBaudRate(std::uint32_t baud)
{
    speed_t code;
    return SpeedCode(baud, code);
}

SerialLine::~SerialLine()
{
    Close();
}

HRESULT SerialLine::Open(const std::string& devicePath)
{
    Close();
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return HResultFromErrno(errno);
    // TIOCEXCL keeps other users out; the lock also keeps out privileged
    // processes of this suite, which TIOCEXCL lets through.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return HResultFromErrno(error);
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        int error = errno;
        ::close(fd);
        return HResultFromErrno(error);
    }
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~CRTSCTS;
    // With VMIN 1 an empty non-blocking read says EAGAIN, so a read of 0
    // bytes means the device hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        int error = errno;
        ::close(fd);
        return HResultFromErrno(error);
    }
    int lines = TIOCM_DTR | TIOCM_RTS;
    // Pseudo-terminals have no modem lines; that is no failure.
    ::ioctl(fd, TIOCMBIS, &lines);
    m_fd = fd;
    m_path = devicePath;
    return S_OK;
}

void SerialLine::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_path.clear();
}

bool SerialLine::EncodeSettings(const LineSettings& settings, termios& tio)
{
    speed_t speed;
    tcflag_t size;
    if (!SpeedCode(settings.BaudRate, speed) || !SizeFlag(settings.ByteSize, size))
        return false;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | size;
    SetParity(tio, settings.Parity);
    if (settings.StopBits == TWOSTOPBITS)
        tio.c_cflag |= CSTOPB;
    else
        tio.c_cflag &= ~CSTOPB;
    return true;
}

LineSettings SerialLine::DecodeSettings(const termios& tio)
{
    LineSettings settings;
    settings.BaudRate = BaudOf(::cfgetospeed(&tio));
    settings.ByteSize = SizeOf(tio.c_cflag);
    settings.Parity = ParityOf(tio.c_cflag);
    settings.StopBits = (tio.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    return settings;
}

bool SerialLine::Apply(const LineSettings& settings)
{
    termios tio{};
    if (m_fd < 0) {
        errno = EBADF;
        return false;
    }
    if (::tcgetattr(m_fd, &tio) != 0)
        return false;
    if (!EncodeSettings(settings, tio)) {
        errno = EINVAL;
        return false;
    }
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

bool SerialLine::Query(LineSettings& settings) const
{
    termios tio{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &tio) != 0)
        return false;
    settings = DecodeSettings(tio);
    return true;
}

bool SerialLine::Flush(FlushQueues queues)
{
    if (m_fd < 0)
        return false;
    int which = queues == FlushQueues::Input ? TCIFLUSH
                : queues == FlushQueues::Output ? TCOFLUSH
                                                : TCIOFLUSH;
    return ::tcflush(m_fd, which) == 0;
}

std::size_t SerialLine::UnsentBytes() const
{
    int unsent = 0;
    if (m_fd < 0 || ::ioctl(m_fd, TIOCOUTQ, &unsent) != 0 || unsent < 0)
        return 0;
    return static_cast<std::size_t>(unsent);
}

bool SerialLine::SetBreak(bool on)
{
    if (m_fd < 0)
        return false;
    bool done = ::ioctl(m_fd, on ? TIOCSBRK : TIOCCBRK) == 0;
    NotifyBreak(m_path, on);
    return done;
}

ssize_t SerialLine::ReadSome(void* buffer, std::size_t size)
{
    ssize_t got = ::read(m_fd, buffer, size);
    if (got > 0)
        return got;
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    if (got == 0)
        errno = EIO;
    return -1;
}

ssize_t SerialLine::WriteSome(const void* buffer, std::size_t size)
{
    ssize_t put = ::write(m_fd, buffer, size);
    if (put >= 0)
        return put;
    if (errno == EAGAIN || errno == EINTR)
        return 0;
    return -1;
}

} // namespace platform
