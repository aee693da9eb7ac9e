#include "platform/console/terminal_backend.h"

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <string>

#include <langinfo.h>
#include <unistd.h>

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include "platform/codepage/cp852.h"
#include "platform/console/key_decoder.h"
#include "platform/console/keys.h"

namespace kestrel::console {
namespace {

bool g_active = false;
std::terminate_handler g_previous_terminate = nullptr;

void RestoreTerminal() {
    if (g_active) {
        g_active = false;
        endwin();
    }
}

extern "C" void OnFatalSignal(int sig) {
    RestoreTerminal();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void OnTerminate() {
    RestoreTerminal();
    if (g_previous_terminate) g_previous_terminate();
    std::abort();
}

void InstallRestorers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    std::atexit(RestoreTerminal);
    g_previous_terminate = std::set_terminate(OnTerminate);
    for (int sig : {SIGHUP, SIGTERM, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(sig, OnFatalSignal);
}

// PC palette order (black, blue, green, cyan, red, magenta, brown, white)
// to curses colour numbers.
constexpr short kCursesColour[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN,  COLOR_CYAN,
                                    COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

constexpr int kMinRows = 25;
constexpr int kMinCols = 80;

}  // namespace

struct TerminalBackend::ScreenHandle {
    SCREEN* screen;
};

base::Status TerminalBackend::Open(std::unique_ptr<TerminalBackend>* out,
                                   const TerminalOptions& options) {
    if (g_active) return base::Status::InvalidArgument("the terminal is already in use");
    const bool own_terminal = options.output == nullptr;
    if (own_terminal && (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)))
        return base::Status::InvalidArgument("standard input and output must be a terminal");
    std::setlocale(LC_ALL, "");
    // The glyphs go out as UTF-8 whatever the environment says.
    if (std::string(nl_langinfo(CODESET)) != "UTF-8") std::setlocale(LC_CTYPE, "C.UTF-8");
    SCREEN* screen =
        own_terminal ? newterm(nullptr, stdout, stdin)
                     : newterm(options.type, options.output, options.input ? options.input : stdin);
    if (screen == nullptr) return base::Status::IOError("cannot initialise the terminal");
    set_term(screen);
    // A stand-in stream has no window size of its own: give it the console's.
    if (!own_terminal) resizeterm(kMinRows, kMinCols);
    g_active = true;
    if (own_terminal) InstallRestorers();
    raw();
    noecho();
    nonl();
    keypad(stdscr, FALSE);
    meta(stdscr, TRUE);
    scrollok(stdscr, FALSE);
    leaveok(stdscr, FALSE);
    std::unique_ptr<TerminalBackend> backend(new TerminalBackend());
    backend->screen_ = new ScreenHandle{screen};
    backend->SetUpColours();
    backend->shown_.DamageAll();
    *out = std::move(backend);
    return base::Status::Ok();
}

TerminalBackend::~TerminalBackend() {
    RestoreTerminal();
    if (screen_) {
        delscreen(screen_->screen);
        delete screen_;
    }
}

void TerminalBackend::SetUpColours() {
    colour_ = has_colors() && start_color() == OK && COLORS >= 8;
    if (!colour_) return;
    many_colours_ = COLORS >= 16 && COLOR_PAIRS >= 129;
    if (many_colours_) {
        for (int bg = 0; bg < 8; ++bg)
            for (int fg = 0; fg < 16; ++fg)
                init_pair(static_cast<short>(1 + bg * 16 + fg),
                          static_cast<short>(kCursesColour[fg & 7] + (fg & 8)), kCursesColour[bg]);
    } else {
        for (int bg = 0; bg < 8; ++bg)
            for (int fg = 0; fg < 8; ++fg) {
                int pair = 1 + bg * 8 + fg;
                if (pair < COLOR_PAIRS)
                    init_pair(static_cast<short>(pair), kCursesColour[fg], kCursesColour[bg]);
            }
    }
}

void TerminalBackend::DrawRow(const Screen& screen, int row) {
    for (int col = 0; col < kCols; ++col) {
        const Cell& cell = screen.At(row, col);
        wchar_t wch[2] = {static_cast<wchar_t>(codepage::DisplayGlyph(cell.ch)), 0};
        attr_t attrs = Blinks(cell.attr) ? A_BLINK : A_NORMAL;
        short pair = 0;
        int fg = Foreground(cell.attr);
        int bg = Background(cell.attr);
        if (colour_ && many_colours_) {
            pair = static_cast<short>(1 + bg * 16 + fg);
        } else if (colour_) {
            pair = static_cast<short>(1 + bg * 8 + (fg & 7));
            if (pair >= COLOR_PAIRS) pair = static_cast<short>(COLOR_PAIRS - 1);
            if (fg & 8) attrs |= A_BOLD;
        } else {
            // Monochrome: a light background is reverse video, bright is bold.
            if (bg != 0 && (fg & 7) == 0) attrs |= A_REVERSE;
            if (fg & 8) attrs |= A_BOLD;
        }
        cchar_t cc;
        setcchar(&cc, wch, attrs, pair, nullptr);
        mvadd_wch(row, col, &cc);
    }
}

void TerminalBackend::DrawAll() {
    for (int r = 0; r < kRows; ++r) DrawRow(shown_, r);
}

bool TerminalBackend::CheckSize() {
    bool small = LINES < kMinRows || COLS < kMinCols;
    if (small) {
        erase();
        std::string line1 = "Okno terminala jest za małe: potrzeba 80x25 znaków, jest " +
                            std::to_string(COLS) + "x" + std::to_string(LINES) + ".";
        std::string line2 = "Powiększ okno albo zmniejsz czcionkę.";
        mvaddnstr(0, 0, line1.c_str(), -1);
        mvaddnstr(1, 0, line2.c_str(), -1);
        curs_set(0);
        refresh();
    } else if (too_small_) {
        erase();
        DrawAll();
    }
    too_small_ = small;
    return !small;
}

void TerminalBackend::Present(const Screen& screen) {
    for (int r = 0; r < kRows; ++r) {
        if (!screen.RowDamaged(r)) continue;
        for (int c = 0; c < kCols; ++c) {
            const Cell& cell = screen.At(r, c);
            shown_.Write(r, c, std::string_view(reinterpret_cast<const char*>(&cell.ch), 1),
                         cell.attr);
        }
    }
    shown_.SetCursor(screen.CursorRow(), screen.CursorCol());
    shown_.SetCursorShape(screen.cursor_shape());
    if (!CheckSize()) return;
    for (int r = 0; r < kRows; ++r)
        if (shown_.RowDamaged(r)) DrawRow(shown_, r);
    shown_.ClearDamage();
    switch (shown_.cursor_shape()) {
        case CursorShape::kNone:
            curs_set(0);
            break;
        case CursorShape::kBlock:
        case CursorShape::kHalfBlock:
            curs_set(2);
            break;
        default:
            curs_set(1);
            break;
    }
    move(shown_.CursorRow(), shown_.CursorCol());
    refresh();
}

int TerminalBackend::ReadByte(int timeout_ms) {
    timeout(timeout_ms);
    for (;;) {
        int c = getch();
        if (c == KEY_RESIZE) {
            shown_.DamageAll();
            if (CheckSize()) {
                erase();
                DrawAll();
                shown_.ClearDamage();
                move(shown_.CursorRow(), shown_.CursorCol());
                refresh();
            }
            continue;
        }
        if (c == ERR) return -1;
        if (c >= 0 && c <= 0xFF) return c;
    }
}

int TerminalBackend::ReadKey(int timeout_ms) {
    for (;;) {
        if (pending_.empty()) {
            int c = ReadByte(timeout_ms);
            if (c < 0) return key::kNone;
            pending_ += static_cast<char>(c);
        }
        DecodedKey d = DecodeKey(pending_, true);
        if (d.result == DecodedKey::Result::kNeedMore) {
            // The rest of a sequence arrives at once; a pause means it is complete.
            int c = ReadByte(40);
            if (c >= 0) {
                pending_ += static_cast<char>(c);
                continue;
            }
            d = DecodeKey(pending_, false);
        }
        if (d.result == DecodedKey::Result::kNeedMore)
            d = {DecodedKey::Result::kSkip, 0, pending_.size()};
        pending_.erase(0, d.length == 0 ? 1 : d.length);
        if (d.result == DecodedKey::Result::kKey && !too_small_) return d.key;
    }
}

void TerminalBackend::Tone(int /*frequency*/, int /*ticks*/) {
    beep();
}

void TerminalBackend::Sleep(int milliseconds) {
    if (milliseconds > 0) napms(milliseconds);
}

}  // namespace kestrel::console
