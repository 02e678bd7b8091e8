#include "sim/sim_line.h"

#include "link/port_names.h"
#include "sim/commands.h"
#include "sim/frame_parser.h"
#include "sim/pty_port.h"
#include "sim/reply_faults.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <sys/prctl.h>
#include <system_error>
#include <thread>

namespace vk::sim {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A program that keeps asking without reading must not make us hoard its replies.
constexpr std::size_t kMaxQueuedOutput = 1 << 20;
// What the program wrote is kept for TakeReceived; a long-running vksim that nobody asks
// keeps only the newest bytes.
constexpr std::size_t kMaxRecorded = 1 << 20;
// Paced traffic is handled in steps of at least this much, never a wake-up per byte.
constexpr auto kPaceStep = 1ms;

struct SimSensor {
    SensorState state;
    FrameParser parser;
    std::vector<Fault> faults;
};

struct InByte {
    std::uint8_t byte;
    Clock::time_point arrival; // when its last bit is on the wire
    std::int32_t baudRate;     // the line's speed when it came
};

struct OutByte {
    std::uint8_t byte;
    Clock::time_point due;
};

// One sensor's part in a request that reached it.
struct Executed {
    SimSensor* sensor;
    std::uint8_t addressBefore;
    CheckMethod method;
    std::uint8_t packetId;
    Outcome outcome;
};

Clock::duration ByteTime(const LineFormat& format) {
    std::int64_t baud = format.baudRate > 0 ? format.baudRate : 57600;
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(1000000000LL * format.bitsPerByte / baud));
}

} // namespace

struct SimLine::Impl {
    LineOptions options;
    std::function<void(const std::string&)> uploadReport;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::unique_ptr<SimSensor>> sensors;
    PtyPort port;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::atomic<bool> serving{false}; // false once the serving thread has ended
    std::mutex lifecycle;             // Start, Stop and Unplug one at a time
    bool running = false;
    std::string linkPath;

    std::vector<std::uint8_t> received; // for TakeReceived
    std::deque<InByte> pending;         // read, not yet arrived at the sensors
    Clock::time_point lastArrival{};
    Clock::time_point lastRead{};

    std::deque<OutByte> output;
    Clock::time_point outputTail{}; // when the last queued byte is through
    bool writeBlocked = false;

    explicit Impl(LineOptions o) : options(std::move(o)) {}

    std::string Directory() const {
        return options.portDir.empty() ? PortDirectory() : options.portDir;
    }
    std::string ComName() const { return "COM" + std::to_string(options.comNumber); }

    SimSensor* Find(std::uint8_t address) const {
        for (const auto& s : sensors) {
            if (s->state.config.address == address)
                return s.get();
        }
        return nullptr;
    }

    bool LinkDevice(std::string* error);
    void UnlinkDevice();
    void Serve();
    std::optional<Clock::time_point> NextDeadline(Clock::time_point now) const;
    void ReadInput(Clock::time_point now);
    void DeliverDue(Clock::time_point now);
    void Deliver(const InByte& in);
    void Expire(SimSensor& sensor, Clock::time_point now);
    bool FeedReceiver(SimSensor& sensor, const InByte& in);
    void Transmit(SimSensor& sensor, const std::vector<std::uint8_t>& bytes, Clock::time_point at);
    void Dispatch(std::vector<std::pair<SimSensor*, ParsedFrame>>& frames, Clock::time_point at);
    void SendReply(Executed& chosen, Clock::time_point at);
    void SendOverlapping(const std::vector<Executed*>& answering, Clock::time_point at);
    void Enqueue(const std::vector<std::uint8_t>& bytes, Clock::time_point start);
    bool FlushOutput(Clock::time_point now);
};

bool SimLine::Impl::LinkDevice(std::string* error) {
    std::error_code ec;
    fs::path dir = Directory();
    fs::create_directories(dir, ec);
    if (ec) {
        if (error)
            *error = "cannot create " + dir.string() + " (" + ec.message() + ")";
        return false;
    }
    fs::path link = dir / ComName();
    auto status = fs::symlink_status(link, ec);
    if (fs::exists(status)) {
        // A link left by a simulator that died, or one the user made: the newest line
        // takes the name. Anything else is not ours to remove.
        if (!fs::is_symlink(status)) {
            if (error)
                *error = link.string() + " exists and is not a link";
            return false;
        }
        fs::remove(link, ec);
    }
    fs::create_symlink(port.SlavePath(), link, ec);
    if (ec) {
        if (error)
            *error = "cannot link " + link.string() + " (" + ec.message() + ")";
        return false;
    }
    linkPath = link.string();
    return true;
}

void SimLine::Impl::UnlinkDevice() {
    if (linkPath.empty())
        return;
    std::error_code ec;
    // Only while it still names our device: another line may have taken the name since.
    if (fs::read_symlink(linkPath, ec) == fs::path(port.SlavePath()) && !ec)
        fs::remove(linkPath, ec);
    linkPath.clear();
}

std::optional<Clock::time_point> SimLine::Impl::NextDeadline(Clock::time_point now) const {
    std::optional<Clock::time_point> next;
    auto consider = [&next](Clock::time_point t) {
        if (!next || t < *next)
            next = t;
    };
    // Coalesce paced bytes into steps, but never hold the last one back.
    auto stepped = [&](Clock::time_point front, Clock::time_point back) {
        return std::min(back, std::max(front, now + kPaceStep));
    };
    if (!pending.empty())
        consider(stepped(pending.front().arrival, pending.back().arrival));
    if (!output.empty() && !writeBlocked)
        consider(stepped(output.front().due, output.back().due));
    for (const auto& s : sensors) {
        if (auto t = s->parser.ExpiryTime())
            consider(*t);
        if (auto t = s->state.flash.receiver.NextTimer())
            consider(*t);
    }
    return next;
}

void SimLine::Impl::Serve() {
    // Paced bytes are due every 174 µs at 57600 baud; the default 50 µs of timer slack
    // would show in every exchange.
    prctl(PR_SET_TIMERSLACK, 1UL);
    while (!stopping) {
        std::optional<Clock::time_point> deadline;
        bool wantWrite;
        {
            std::lock_guard lock(mutex);
            deadline = NextDeadline(Clock::now());
            wantWrite = writeBlocked;
        }
        WaitResult w = port.Wait(deadline, wantWrite);
        if (w.failed || stopping)
            break;
        auto now = Clock::now();
        bool ok = true;
        {
            std::lock_guard lock(mutex);
            if (w.writable)
                writeBlocked = false;
            if (w.readable)
                ReadInput(now);
            DeliverDue(now);
            for (auto& s : sensors)
                Expire(*s, now);
            ok = FlushOutput(now);
        }
        changed.notify_all();
        if (!ok)
            break;
    }
    serving = false;
    changed.notify_all();
}

void SimLine::Impl::ReadInput(Clock::time_point now) {
    std::uint8_t chunk[4096];
    for (;;) {
        long n = port.Read(chunk, sizeof chunk);
        if (n <= 0)
            return;
        lastRead = now;
        if (received.size() + static_cast<std::size_t>(n) > kMaxRecorded)
            received.erase(received.begin(),
                           received.begin() + static_cast<std::ptrdiff_t>(received.size() / 2));
        LineFormat format = port.Format();
        Clock::duration byteTime = options.pace ? ByteTime(format) : Clock::duration(0);
        for (long i = 0; i < n; ++i) {
            received.push_back(chunk[i]);
            // Without pace a byte arrives when read; with pace no sooner than the wire allows.
            Clock::time_point arrival = options.pace ? std::max(now, lastArrival) + byteTime : now;
            lastArrival = arrival;
            pending.push_back({chunk[i], arrival, format.baudRate});
        }
    }
}

void SimLine::Impl::DeliverDue(Clock::time_point now) {
    while (!pending.empty() && pending.front().arrival <= now) {
        InByte in = pending.front();
        pending.pop_front();
        Deliver(in);
    }
}

void SimLine::Impl::Expire(SimSensor& sensor, Clock::time_point now) {
    // A frame cut short counts against the sensor it was meant for, like a bad check field.
    auto address = sensor.parser.Expire(now);
    if (address && (*address == 0 || *address == sensor.state.config.address))
        ++sensor.state.errors.checkErrors;
    std::vector<std::uint8_t> answer;
    sensor.state.flash.receiver.OnTimer(now, answer);
    Transmit(sensor, answer, now);
}

bool SimLine::Impl::FeedReceiver(SimSensor& sensor, const InByte& in) {
    XModemReceiver& receiver = sensor.state.flash.receiver;
    if (!receiver.Wants(in.byte, !sensor.parser.Idle()))
        return false;
    std::vector<std::uint8_t> answer;
    receiver.Feed(in.byte, in.arrival, answer);
    Transmit(sensor, answer, in.arrival);
    return true;
}

void SimLine::Impl::Transmit(SimSensor& sensor, const std::vector<std::uint8_t>& bytes,
                             Clock::time_point at) {
    if (!bytes.empty())
        Enqueue(bytes, at);
    auto report = sensor.state.flash.FinishUpload(sensor.state.config.address);
    if (report && uploadReport)
        uploadReport(*report);
}

void SimLine::Impl::Deliver(const InByte& in) {
    std::vector<std::pair<SimSensor*, ParsedFrame>> accepted;
    std::vector<ParsedFrame> frames;
    for (auto& s : sensors) {
        Expire(*s, in.arrival);
        // At another speed a sensor hears only noise and takes nothing from it.
        if (s->state.config.baudRate != in.baudRate) {
            s->parser.Reset();
            continue;
        }
        if (FeedReceiver(*s, in))
            continue;
        frames.clear();
        s->parser.Feed(in.byte, in.arrival, s->state.config.method, frames);
        for (const ParsedFrame& f : frames) {
            if (f.address() != 0 && f.address() != s->state.config.address)
                continue;
            if (!f.valid) {
                ++s->state.errors.checkErrors;
                continue;
            }
            accepted.emplace_back(s.get(), f);
        }
    }
    if (!accepted.empty())
        Dispatch(accepted, in.arrival);
}

void SimLine::Impl::Dispatch(std::vector<std::pair<SimSensor*, ParsedFrame>>& frames,
                             Clock::time_point at) {
    // Every sensor the frame reached carries it out; one reply at most goes on the line
    // (a request to address 0 reaches them all): the sensor that claims it, else the
    // one with the lowest address.
    std::vector<Executed> done;
    for (auto& [sensor, frame] : frames) {
        SensorState& state = sensor->state;
        Executed e{sensor, state.config.address, state.config.method, frame.packetId(), {}};
        Request request{frame.address(), frame.packetId(), frame.payload(),
                        PayloadLength(e.method, frame.bytes[2])};
        // A command instead of a block: the sensor has left the transfer.
        state.flash.receiver.Abort("a command frame came instead of a block");
        e.outcome = Execute(state, request, at);
        Transmit(*sensor, {}, at);
        done.push_back(std::move(e));
    }
    if (options.collide) {
        std::vector<Executed*> answering;
        for (Executed& e : done)
            if (!e.outcome.packets.empty())
                answering.push_back(&e);
        if (answering.size() > 1) {
            SendOverlapping(answering, at);
            return;
        }
    }
    Executed* chosen = nullptr;
    for (Executed& e : done) {
        if (e.outcome.packets.empty())
            continue;
        bool better = !chosen ||
                      (e.outcome.claimsGlobalReply && !chosen->outcome.claimsGlobalReply) ||
                      (e.outcome.claimsGlobalReply == chosen->outcome.claimsGlobalReply &&
                       e.addressBefore < chosen->addressBefore);
        if (better)
            chosen = &e;
    }
    if (chosen)
        SendReply(*chosen, at);
}

namespace {

// One reply packet of `e` as it leaves the sensor; empty for a payload no frame holds.
std::vector<std::uint8_t> ReplyFrame(const Executed& e, const Payload& payload) {
    FrameBuffer frame;
    const std::size_t size =
        BuildFrame(frame, e.method, e.sensor->state.config.address,
                   e.outcome.packetId.value_or(e.packetId), payload.data(), payload.size());
    return std::vector<std::uint8_t>(frame.begin(),
                                     frame.begin() + static_cast<std::ptrdiff_t>(size));
}

} // namespace

void SimLine::Impl::SendReply(Executed& chosen, Clock::time_point at) {
    Clock::time_point start = std::max(at, outputTail);
    for (const Payload& payload : chosen.outcome.packets) {
        std::vector<std::uint8_t> bytes = ReplyFrame(chosen, payload);
        if (bytes.empty())
            continue;
        ShapedReply shaped = ShapeReply(chosen.sensor->faults, bytes, chosen.method);
        start += shaped.delay;
        Enqueue(shaped.bytes, start);
        start = std::max(start, outputTail);
    }
}

void SimLine::Impl::SendOverlapping(const std::vector<Executed*>& answering, Clock::time_point at) {
    // The senders start together; a bit is 0 wherever any of them drives it to 0.
    std::vector<std::uint8_t> line;
    for (const Executed* e : answering) {
        std::vector<std::uint8_t> own;
        // A fault set on a sensor shapes its share of the overlay as it shapes a reply of
        // its own; the senders still start together, so a delay it asks for is not spent.
        for (const Payload& payload : e->outcome.packets) {
            const std::vector<std::uint8_t> frame = ReplyFrame(*e, payload);
            if (frame.empty())
                continue;
            const std::vector<std::uint8_t> shaped =
                ShapeReply(e->sensor->faults, frame, e->method).bytes;
            own.insert(own.end(), shaped.begin(), shaped.end());
        }
        if (own.size() > line.size())
            line.resize(own.size(), 0xFF);
        for (std::size_t i = 0; i < own.size(); ++i)
            line[i] &= own[i];
    }
    Enqueue(line, std::max(at, outputTail));
}

void SimLine::Impl::Enqueue(const std::vector<std::uint8_t>& bytes, Clock::time_point start) {
    if (output.size() + bytes.size() > kMaxQueuedOutput)
        return;
    start = std::max(start, outputTail);
    Clock::duration byteTime = options.pace ? ByteTime(port.Format()) : Clock::duration(0);
    // Paced bytes leave on a schedule of absolute times, so the time spent writing and
    // waking up never adds up.
    Clock::time_point due = start;
    for (std::uint8_t b : bytes) {
        due += byteTime;
        output.push_back({b, due});
    }
    outputTail = due;
}

bool SimLine::Impl::FlushOutput(Clock::time_point now) {
    std::uint8_t chunk[4096];
    while (!writeBlocked && !output.empty() && output.front().due <= now) {
        std::size_t n = 0;
        while (n < sizeof chunk && n < output.size() && output[n].due <= now) {
            chunk[n] = output[n].byte;
            ++n;
        }
        long written = port.Write(chunk, n);
        if (written < 0)
            return false;
        output.erase(output.begin(), output.begin() + written);
        if (static_cast<std::size_t>(written) < n)
            writeBlocked = true;
    }
    return true;
}

// --- SimLine ------------------------------------------------------------------

SimLine::SimLine(LineOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

SimLine::~SimLine() {
    Stop();
}

void SimLine::SetUploadReport(std::function<void(const std::string&)> report) {
    std::lock_guard lock(impl_->mutex);
    impl_->uploadReport = std::move(report);
}

void SimLine::AddSensor(const SensorConfig& config) {
    std::lock_guard lock(impl_->mutex);
    auto sensor = std::make_unique<SimSensor>();
    sensor->state = FactoryState(config);
    impl_->sensors.push_back(std::move(sensor));
}

bool SimLine::Start(std::string* error) {
    Impl& d = *impl_;
    std::lock_guard order(d.lifecycle);
    std::lock_guard lock(d.mutex);
    if (d.running) {
        if (error)
            *error = "the line is already running";
        return false;
    }
    if (!d.port.Open(error))
        return false;
    if (!d.LinkDevice(error)) {
        d.port.Close();
        return false;
    }
    d.pending.clear();
    d.output.clear();
    d.writeBlocked = false;
    for (auto& s : d.sensors)
        s->parser.Reset();
    d.stopping = false;
    d.running = true;
    d.serving = true;
    d.thread = std::thread([&d] { d.Serve(); });
    return true;
}

void SimLine::Stop() {
    Impl& d = *impl_;
    std::lock_guard order(d.lifecycle);
    d.stopping = true;
    d.port.Wake();
    if (d.thread.joinable())
        d.thread.join();
    std::lock_guard lock(d.mutex);
    if (!d.running)
        return;
    d.UnlinkDevice();
    d.port.Close();
    d.running = false;
    d.changed.notify_all();
}

void SimLine::Unplug() {
    Stop();
}

bool SimLine::Replug(std::string* error) {
    return Start(error);
}

bool SimLine::Running() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->running;
}

bool SimLine::Serving() const {
    return impl_->serving;
}

std::string SimLine::ComName() const {
    return impl_->ComName();
}

std::string SimLine::LinkPath() const {
    std::lock_guard lock(impl_->mutex);
    if (!impl_->linkPath.empty())
        return impl_->linkPath;
    return (fs::path(impl_->Directory()) / impl_->ComName()).string();
}

std::string SimLine::DevicePath() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->running ? impl_->port.SlavePath() : std::string();
}

void SimLine::InjectFault(std::uint8_t address, const Fault& fault) {
    Impl& d = *impl_;
    std::lock_guard lock(d.mutex);
    SimSensor* sensor = d.Find(address);
    if (!sensor || fault.replies == 0)
        return;
    if (fault.kind != FaultKind::Garbage) {
        sensor->faults.push_back(fault);
        return;
    }
    d.Enqueue(GarbageBytes(fault), Clock::now());
    if (d.running)
        d.port.Wake();
}

void SimLine::InjectReceiverFault(std::uint8_t address, const ReceiverFault& fault) {
    std::lock_guard lock(impl_->mutex);
    if (SimSensor* sensor = impl_->Find(address))
        sensor->state.flash.receiver.SetFault(fault);
}

void SimLine::ClearFaults() {
    std::lock_guard lock(impl_->mutex);
    for (auto& s : impl_->sensors) {
        s->faults.clear();
        s->state.flash.receiver.ClearFaults();
    }
}

std::vector<std::uint8_t> SimLine::TakeReceived() {
    std::lock_guard lock(impl_->mutex);
    std::vector<std::uint8_t> bytes;
    bytes.swap(impl_->received);
    return bytes;
}

bool SimLine::WaitReceived(std::size_t count, int timeoutMs) {
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return impl_->received.size() >= count && impl_->pending.empty();
    });
}

SensorState SimLine::Snapshot(std::uint8_t address) const {
    std::lock_guard lock(impl_->mutex);
    SimSensor* sensor = impl_->Find(address);
    if (!sensor) {
        SensorState none = FactoryState({});
        none.config.address = 0;
        return none;
    }
    SensorState copy = sensor->state;
    AdvanceScan(copy, Clock::now());
    return copy;
}

bool SimLine::HasSensor(std::uint8_t address) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->Find(address) != nullptr;
}

bool SimLine::Modify(std::uint8_t address, const std::function<void(SensorState&)>& change) {
    {
        std::lock_guard lock(impl_->mutex);
        SimSensor* sensor = impl_->Find(address);
        if (!sensor)
            return false;
        AdvanceScan(sensor->state, Clock::now());
        change(sensor->state);
    }
    impl_->changed.notify_all();
    return true;
}

bool SimLine::WaitForState(std::uint8_t address,
                           const std::function<bool(const SensorState&)>& condition,
                           int timeoutMs) {
    Impl& d = *impl_;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(d.mutex);
    for (;;) {
        SimSensor* sensor = d.Find(address);
        if (sensor) {
            // Scans move with the clock, not with traffic: look again every few ms.
            AdvanceScan(sensor->state, Clock::now());
            if (condition(sensor->state))
                return true;
        }
        if (Clock::now() >= deadline)
            return false;
        d.changed.wait_until(lock, std::min(deadline, Clock::now() + 5ms));
    }
}

bool SimLine::WaitIdle(int timeoutMs) {
    Impl& d = *impl_;
    std::unique_lock lock(d.mutex);
    auto called = Clock::now();
    auto deadline = called + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        // A byte the program wrote may still be on its way through the terminal, where
        // nothing can see it: only a quiet line tells that it is not coming.
        auto now = Clock::now();
        auto quietSince = std::max(d.lastRead, called);
        if (!d.running ||
            (d.pending.empty() && d.port.InputWaiting() == 0 && now - quietSince > kFrameGap))
            return true;
        if (now >= deadline)
            return false;
        d.changed.wait_until(lock, std::min(deadline, quietSince + kFrameGap + 1ms));
    }
}

} // namespace vk::sim
