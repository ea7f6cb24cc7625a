// Stands between one Wayland client and the compositor and, once the client
// has shown its window, asks that window to close, as a compositor does when
// the user clicks its close box.
//
//   wayland_close_proxy SOCKET UPSTREAM TITLE
//
// Listens on $XDG_RUNTIME_DIR/SOCKET, takes one client, connects it to
// $XDG_RUNTIME_DIR/UPSTREAM and relays both ways, file descriptors included.
// It reads the client's requests to follow its xdg toplevels: when the one
// titled TITLE has committed a buffer to its surface (the window is on
// screen), it waits a moment and sends that toplevel an xdg_toplevel.close
// event. Exit status 0 when the window showed, the close went out and the
// client then hung up; 1 otherwise (the reason on standard error). Gives up
// after 60 seconds.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "wayland proxy: %s\n", what.c_str());
    std::exit(1);
}

sockaddr_un Address(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr) Fail("XDG_RUNTIME_DIR is not set");
    const std::string path = std::string(runtime) + "/" + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) Fail("socket path too long: " + path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

// Bytes and the descriptors that came with them.
struct Chunk {
    std::vector<std::uint8_t> bytes;
    std::vector<int> fds;
};

// Reads what is there; false at the end of the stream.
bool Receive(int socket, Chunk& into) {
    std::uint8_t buffer[4096];
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * 28)];
    iovec io{buffer, sizeof buffer};
    msghdr message{};
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t got = recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
    if (got <= 0) return false;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS) continue;
        const std::size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (std::size_t i = 0; i < count; ++i) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof(int));
            into.fds.push_back(fd);
        }
    }
    into.bytes.insert(into.bytes.end(), buffer, buffer + got);
    return true;
}

// Sends `size` bytes from `bytes`, with `fds` on the first piece, and closes
// the descriptors.
void Send(int socket, const std::uint8_t* bytes, std::size_t size, std::vector<int>& fds) {
    while (size > 0 || !fds.empty()) {
        iovec io{const_cast<std::uint8_t*>(bytes), size};
        msghdr message{};
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        std::vector<char> control;
        if (!fds.empty()) {
            control.resize(CMSG_SPACE(sizeof(int) * fds.size()));
            message.msg_control = control.data();
            message.msg_controllen = control.size();
            cmsghdr* c = CMSG_FIRSTHDR(&message);
            c->cmsg_level = SOL_SOCKET;
            c->cmsg_type = SCM_RIGHTS;
            c->cmsg_len = CMSG_LEN(sizeof(int) * fds.size());
            std::memcpy(CMSG_DATA(c), fds.data(), sizeof(int) * fds.size());
        }
        const ssize_t sent = sendmsg(socket, &message, MSG_NOSIGNAL);
        if (sent < 0) Fail(std::string("cannot relay: ") + std::strerror(errno));
        for (int fd : fds) close(fd);
        fds.clear();
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

std::uint32_t Word(const std::uint8_t* at) {
    std::uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A wire string: its length with the closing NUL, then the bytes, padded to
// four.
std::string WireString(const std::uint8_t* at, const std::uint8_t* end, const std::uint8_t** next) {
    if (end - at < 4) return {};
    const std::uint32_t length = Word(at);
    const std::uint32_t padded = (length + 3) & ~3u;
    if (static_cast<std::size_t>(end - at - 4) < padded) return {};
    *next = at + 4 + padded;
    return length == 0 ? std::string() : std::string(reinterpret_cast<const char*>(at + 4), length - 1);
}

// Follows the client's requests far enough to know its xdg toplevels, their
// titles and when their surfaces get a buffer.
class ClientWatcher {
public:
    explicit ClientWatcher(std::string title) : title_(std::move(title)) {}

    // Feeds client-to-compositor bytes; whole messages are read, the rest
    // waits for more.
    void Feed(const std::vector<std::uint8_t>& bytes) {
        pending_.insert(pending_.end(), bytes.begin(), bytes.end());
        std::size_t at = 0;
        while (pending_.size() - at >= 8) {
            const std::uint32_t object = Word(&pending_[at]);
            const std::uint32_t sizeAndOpcode = Word(&pending_[at + 4]);
            const std::size_t size = sizeAndOpcode >> 16;
            if (size < 8) Fail("malformed request from the client");
            if (pending_.size() - at < size) break;
            Request(object, sizeAndOpcode & 0xffff, &pending_[at + 8], &pending_[at + size]);
            at += size;
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
    }

    // The toplevel titled as wanted once it has shown a buffer; 0 before.
    std::uint32_t ShownToplevel() const { return shown_; }

private:
    void Request(std::uint32_t object, std::uint32_t opcode, const std::uint8_t* args, const std::uint8_t* end) {
        const std::uint8_t* next = nullptr;
        if (object == 1 && opcode == 1 && end - args >= 4) {
            registries_.insert(Word(args));  // wl_display.get_registry
        } else if (registries_.count(object) != 0 && opcode == 0) {
            // wl_registry.bind: name, interface, version, new id.
            const std::string interface = WireString(args + 4, end, &next);
            if (next != nullptr && end - next >= 8 && interface == "xdg_wm_base") wmBases_.insert(Word(next + 4));
        } else if (wmBases_.count(object) != 0 && opcode == 2 && end - args >= 8) {
            xdgSurfaces_[Word(args)] = Word(args + 4);  // xdg_wm_base.get_xdg_surface
        } else if (xdgSurfaces_.count(object) != 0 && opcode == 1 && end - args >= 4) {
            toplevels_[Word(args)] = xdgSurfaces_[object];  // xdg_surface.get_toplevel
        } else if (toplevels_.count(object) != 0 && opcode == 2) {
            // xdg_toplevel.set_title
            if (WireString(args, end, &next) == title_) titled_[toplevels_[object]] = object;
        } else if (titled_.count(object) != 0) {
            // wl_surface of the titled toplevel: attach (1), commit (6).
            if (opcode == 1 && end - args >= 4) attached_[object] = Word(args) != 0;
            if (opcode == 6 && attached_[object] && shown_ == 0) shown_ = titled_[object];
        }
    }

    std::string title_;
    std::vector<std::uint8_t> pending_;
    std::set<std::uint32_t> registries_;
    std::set<std::uint32_t> wmBases_;
    std::map<std::uint32_t, std::uint32_t> xdgSurfaces_;  // xdg_surface -> wl_surface
    std::map<std::uint32_t, std::uint32_t> toplevels_;    // xdg_toplevel -> wl_surface
    std::map<std::uint32_t, std::uint32_t> titled_;       // wl_surface -> xdg_toplevel
    std::map<std::uint32_t, bool> attached_;
    std::uint32_t shown_ = 0;
};

// Listens on the socket `name` and returns the first client to connect.
int AcceptClient(const char* name) {
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un own = Address(name);
    unlink(own.sun_path);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&own), sizeof own) != 0 || listen(listener, 1) != 0)
        Fail(std::string("cannot listen on ") + own.sun_path);
    std::printf("wayland proxy: listening on %s\n", own.sun_path);
    std::fflush(stdout);

    pollfd waiting{listener, POLLIN, 0};
    if (poll(&waiting, 1, 30000) != 1) Fail("no client connected within 30 s");
    const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) Fail("accept failed");
    close(listener);
    unlink(own.sun_path);
    return client;
}

// Connects to the compositor's socket `name`.
int ConnectTo(const char* name) {
    const int compositor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un upstream = Address(name);
    if (connect(compositor, reinterpret_cast<const sockaddr*>(&upstream), sizeof upstream) != 0)
        Fail(std::string("cannot reach the compositor at ") + upstream.sun_path);
    return compositor;
}

// The length of the whole events at the start of `bytes`.
std::size_t WholeEvents(const std::vector<std::uint8_t>& bytes) {
    std::size_t whole = 0;
    while (bytes.size() - whole >= 8) {
        const std::size_t size = Word(&bytes[whole + 4]) >> 16;
        if (size < 8) Fail("malformed event from the compositor");
        if (bytes.size() - whole < size) break;
        whole += size;
    }
    return whole;
}

// Sends the client's window the compositor's close request a second after
// the window shows.
class Closer {
public:
    explicit Closer(const char* title) : title_(title) {}
    bool Sent() const { return sent_; }

    // Called on every turn with the toplevel shown so far (0: none yet).
    void Step(int client, std::uint32_t toplevel) {
        if (toplevel == 0 || sent_) return;
        if (closeAt_ == Clock::time_point{}) {
            std::printf("wayland proxy: the window \"%s\" is on screen\n", title_);
            std::fflush(stdout);
            closeAt_ = Clock::now() + std::chrono::milliseconds(1000);
        } else if (Clock::now() >= closeAt_) {
            // xdg_toplevel.close: event 1, no arguments.
            const std::uint32_t event[2] = {toplevel, (8u << 16) | 1u};
            std::vector<int> none;
            Send(client, reinterpret_cast<const std::uint8_t*>(event), sizeof event, none);
            sent_ = true;
            std::printf("wayland proxy: sent the close request\n");
            std::fflush(stdout);
        }
    }

private:
    const char* title_;
    Clock::time_point closeAt_{};
    bool sent_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) Fail("usage: wayland_close_proxy SOCKET UPSTREAM TITLE");
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(60);
    const int client = AcceptClient(argv[1]);
    const int compositor = ConnectTo(argv[2]);

    ClientWatcher watcher(argv[3]);
    Chunk fromCompositor;
    Closer closer(argv[3]);

    for (;;) {
        if (Clock::now() > deadline)
            Fail(watcher.ShownToplevel() == 0 ? "the window never showed" : "the client did not end after the close");
        pollfd both[2] = {{client, POLLIN, 0}, {compositor, POLLIN, 0}};
        poll(both, 2, 50);

        if ((both[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            Chunk fromClient;
            if (!Receive(client, fromClient)) {
                if (!closer.Sent()) Fail("the client hung up before it was asked to close");
                std::printf("wayland proxy: the client hung up after the close request\n");
                return 0;
            }
            watcher.Feed(fromClient.bytes);
            Send(compositor, fromClient.bytes.data(), fromClient.bytes.size(), fromClient.fds);
        }
        if ((both[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            if (!Receive(compositor, fromCompositor)) Fail("the compositor hung up");
        }
        // Only whole events go to the client, so that one of ours can go in
        // between; descriptors go with the next whole events, which may run
        // ahead of the event that uses them but never behind it.
        const std::size_t whole = WholeEvents(fromCompositor.bytes);
        if (whole > 0) {
            Send(client, fromCompositor.bytes.data(), whole, fromCompositor.fds);
            fromCompositor.bytes.erase(fromCompositor.bytes.begin(),
                                       fromCompositor.bytes.begin() + static_cast<std::ptrdiff_t>(whole));
        }

        closer.Step(client, watcher.ShownToplevel());
    }
}
