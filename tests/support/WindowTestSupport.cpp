#include "tests/support/WindowTestSupport.h"

#include "platform/ui/Gdi.h"

#include <cstdio>
#include <memory>

namespace tv::testing {

void PumpMessages(int milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    } while (static_cast<int>(GetTickCount() - start) < milliseconds);
}

bool PumpMessagesUntil(const std::function<bool()>& done, int boundMilliseconds) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) >= boundMilliseconds) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

namespace {
// An entry of Wine's per-process GDI handle table (what the PEB's
// GdiSharedHandleTable points to under Wine).
#pragma pack(push, 1)
struct WineGdiEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
#pragma pack(pop)
constexpr int kWineGdiHandles = 0x4000;
// GdiSharedHandleTable's place in the PEB, which differs by pointer size;
// the entries themselves have one layout in both.
constexpr size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
static_assert(sizeof(WineGdiEntry) == 24, "Wine's GDI handle entries are 24 bytes");
}  // namespace

int GdiObjectCount() {
    DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return static_cast<int>(counted);
    using GetPeb = void*(WINAPI*)();
    auto getPeb = reinterpret_cast<GetPeb>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
    if (!getPeb) return -1;
    auto* peb = static_cast<unsigned char*>(getPeb());
    auto* table = *reinterpret_cast<WineGdiEntry**>(peb + kPebGdiTableOffset);
    if (!table) return -1;
    int count = 0;
    for (int i = 0; i < kWineGdiHandles; ++i)
        if (table[i].type != 0) ++count;
    return count;
}

std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) return {};
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    ui::WindowDc screen(nullptr);
    int rows = GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(),
                         &header, DIB_RGB_COLORS);
    if (rows != info.bmHeight) return {};
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

std::string WindowsPath(const std::string& hostPath) {
    if (hostPath.empty() || hostPath[0] != '/') return hostPath;
    std::string path = "Z:" + hostPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string ProgramDirectory() {
    char path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string full(path, length < sizeof(path) ? length : 0);
    size_t slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

void Click(HWND control) {
    LPARAM point = MAKELPARAM(3, 3);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(control, WM_LBUTTONUP, 0, point);
}

namespace {
std::uint32_t Crc32(const unsigned char* data, size_t size, std::uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(body.data(), body.size()));
}

// A PNG with stored (uncompressed) deflate blocks: small code, no library.
std::vector<unsigned char> EncodePng(int width, int height, const std::vector<std::uint32_t>& pixels) {
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<unsigned char>(p >> 16));
            raw.push_back(static_cast<unsigned char>(p >> 8));
            raw.push_back(static_cast<unsigned char>(p));
        }
    }
    std::vector<unsigned char> zlib = {0x78, 0x01};
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        zlib.push_back(pos + n == raw.size() ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(n));
        zlib.push_back(static_cast<unsigned char>(n >> 8));
        zlib.push_back(static_cast<unsigned char>(~n));
        zlib.push_back(static_cast<unsigned char>(~n >> 8));
        zlib.insert(zlib.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
        if (n == 0) break;
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}
}  // namespace

std::vector<std::uint32_t> ScreenPixels(HWND window, int width, int height) {
    RECT rect{};
    GetWindowRect(window, &rect);
    if (width <= 0 || height <= 0) return {};
    ui::WindowDc screen(nullptr);
    ui::MemoryDc memory(screen.Get());
    ui::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    {
        ui::SelectObjectGuard select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
    }
    return BitmapPixels(bitmap.Get());
}

bool SaveWindowPng(HWND window, const std::string& path) {
    RECT rect{};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    std::vector<std::uint32_t> pixels = ScreenPixels(window, width, height);
    if (pixels.empty()) return false;
    std::vector<unsigned char> png = EncodePng(width, height, pixels);
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) return false;
    return std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
}

MessageBoxWatcher::MessageBoxWatcher() {
    InitializeCriticalSection(&lock_);
    stop_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread_.Reset(CreateThread(nullptr, 0, &MessageBoxWatcher::Run, this, 0, nullptr));
}

MessageBoxWatcher::~MessageBoxWatcher() {
    SetEvent(stop_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
    DeleteCriticalSection(&lock_);
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::Boxes() {
    EnterCriticalSection(&lock_);
    std::vector<Box> copy = boxes_;
    LeaveCriticalSection(&lock_);
    return copy;
}

DWORD WINAPI MessageBoxWatcher::Run(void* self) {
    auto* watcher = static_cast<MessageBoxWatcher*>(self);
    while (WaitForSingleObject(watcher->stop_.Get(), 10) == WAIT_TIMEOUT) watcher->Poll();
    return 0;
}

void MessageBoxWatcher::Poll() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char name[64] = {};
            GetClassNameA(window, name, sizeof(name));
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                std::string(name) == "#32770" && GetDlgItem(window, 0xFFFF)) {
                reinterpret_cast<Search*>(data)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    char caption[256] = {};
    char text[1024] = {};
    GetWindowTextA(search.found, caption, sizeof(caption));
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof(text));
    HWND owner = GetWindow(search.found, GW_OWNER);
    Box box{caption, text, owner != nullptr, owner};
    EnterCriticalSection(&lock_);
    boxes_.push_back(box);
    LeaveCriticalSection(&lock_);
    SendMessageA(search.found, WM_COMMAND, IDOK, 0);
}

}  // namespace tv::testing
