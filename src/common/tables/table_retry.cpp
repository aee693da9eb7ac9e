// Retries of the table layer: opening (QRMXX step 3), the read-only
// question, record and table locks (QRMRLOC, QRMFLOC), appends (QRMAPPE) and
// records under construction.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/screen/too_many_files.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "platform/dbf/file.h"

namespace kestrel::common {
namespace {

// The read-only mark of a file is its owner's missing write permission,
// read from the permission bits: the super-user may write such a file, so
// whether this process could write it says nothing about the mark.
bool IsReadOnlyFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

// The file of an open that is marked read-only: `path` itself or, for a
// table, its memo file; "" when neither is.
std::string MarkedReadOnly(const std::string& path) {
    if (IsReadOnlyFile(path)) return path;
    const std::string memo = dbf::ReplaceExtension(path, "DBT");
    const size_t dot = path.find_last_of('.');
    const bool table = dot != std::string::npos && base::AsciiUpper(path.substr(dot)) == ".DBF";
    return table && IsReadOnlyFile(memo) ? memo : "";
}

bool ClearReadOnly(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return true;
    return ::chmod(path.c_str(), st.st_mode | S_IWUSR) == 0;
}

// The open failed because the process may open no more files (errno of the
// failed call may be overwritten by the clean-up after it, so ask again).
bool OutOfDescriptors() {
    const int fd = ::open("/dev/null", O_RDONLY);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == EMFILE || errno == ENFILE;
}

std::string Centred(const std::string& text, size_t width) {
    if (text.size() >= width) return text.substr(0, width);
    const size_t left = (width - text.size()) / 2;
    return std::string(left, ' ') + text + std::string(width - text.size() - left, ' ');
}

}  // namespace

bool Tables::IsNetwork(const std::string& path) const {
    if (policy_.is_network) return policy_.is_network(path);
    bool network = false;
    return dbf::IsNetworkFileSystem(path, &network).ok() && network;
}

void Tables::Pause() {
    rt_.console().Sleep(policy_.pause_ms);
}

bool Tables::EscPressed() {
    // Only Esc is taken; other keys stay typed ahead.
    if (rt_.console().NextKey() != console::key::kEsc) return false;
    rt_.console().Inkey(0);
    return true;
}

void Tables::Cancel() {
    ShowCancelled(rt_);
    throw Abandon("");
}

// The read-only question: 1 gives up, 2 makes the file writable, 3 does so
// for this and every further file of the operation.
static bool AskReadOnly(Runtime& rt, const std::string& path, bool* override_all) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(8, 9, 17, 71);
    const console::Attr box = rt.Standard(rt.colours().ycowp);
    const console::Attr emphasis = rt.Enhanced(rt.colours().ycowp);
    s.Clear(8, 9, 17, 71, box);
    s.Box(8, 9, 17, 71, console::kFrameDouble, box);
    s.Write(9, 11, rt.Text("Program w tym punkcie wymaga możliwości zapisu w pliku:"), box);
    s.Write(10, 11, Centred(path, 57), box);
    s.Write(11, 11, rt.Text("a tymczasem plik zaznaczony jest jako \"tylko do odczytu\"."), box);
    s.Write(12, 11, rt.Text("Program może wykonać jeden z poniższych punktów:"), emphasis);
    s.Write(13, 11, "1", emphasis);
    s.Write(13, 12, ". Rezygnacja z otwarcia pliku.", box);
    s.Write(14, 11, "2", emphasis);
    s.Write(14, 12, rt.Text(". Zlikwidowanie atrybutu \"tylko do odczytu\" tego pliku."), box);
    s.Write(15, 11, "3", emphasis);
    s.Write(15, 12, rt.Text(". Likwidacja \"tylko do odczytu\" tego pliku i następnych."), box);
    rt.console().Tone(kToneFrequency, kToneTicks);
    char answer = Question(rt, "Wybierz punkt", "123", '1');
    if (rt.console().LastKey() == console::key::kEsc) {
        rt.console().Tone(kToneFrequency, kToneTicks);
        answer = '1';
    }
    s.Restore(saved);
    if (answer == '3') *override_all = true;
    return answer == '2' || answer == '3';
}

void Tables::OpenWithRetry(const std::string& path, const std::string& shown,
                           const Attempt& attempt) {
    static constexpr char kBar[] = "-\\|/";
    const bool retry_always = rt_.config().Logical("NAGLRETRY");
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    int failures = 0;
    int turn = 0;
    for (;;) {
        // A file marked read-only is asked about before it is opened for
        // writing (the open itself may well succeed, run as super-user).
        const std::string marked = read_only() ? "" : MarkedReadOnly(path);
        if (!marked.empty()) {
            if (!read_only_override_ && !AskReadOnly(rt_, marked, &read_only_override_)) {
                throw Abandon("");
            }
            const std::string memo = dbf::ReplaceExtension(path, "DBT");
            if (!ClearReadOnly(path) || !ClearReadOnly(memo)) {
                throw Abandon(ShortenMessage(rt_.Text("Błąd ") + marked));
            }
            retry_request_ = true;
        }
        errno = 0;
        const base::Status s = attempt();
        const int err = errno;
        if (s.ok()) return;
        if (s.IsNotFound()) throw Abandon(ShortenMessage("Brak " + path));
        if (!s.IsBusy()) {
            if (err == EMFILE || err == ENFILE || OutOfDescriptors()) {
                ShowTooManyFiles(rt_, path);
                throw Abandon("");
            }
            throw Abandon(
                ShortenMessage(rt_.Text("Błąd ") + path + "(" + std::to_string(err) + ")"));
        }
        ++failures;
        if (retry_always || retry_request_) {
            std::string bar(1, kBar[turn++ % 4]);
            WriteMessage(rt_, bar + " Otw.: " + shown + "  <Esc>-Rezygnacja", normal);
            Pause();
            if (EscPressed()) Cancel();
        } else {
            if (failures > policy_.silent_opens || !IsNetwork(path)) {
                WriteMessage(rt_, rt_.Text("Błąd trybu otwarcia: ") + shown,
                             rt_.Standard(rt_.colours().ycowp));
                rt_.console().Tone(kToneFrequency, kToneTicks);
                const char answer = Question(rt_, rt_.Text("Powtórzyć próbę otw.zb.?"), "tn", 't');
                if (!IsYes(answer) || rt_.console().LastKey() == console::key::kEsc) Cancel();
                failures = 0;
            }
            Pause();
        }
        WriteMessage(rt_, "", normal);
    }
}

void Tables::LockWithRetry(int silent, const std::string& message, const std::string& question,
                           const Attempt& attempt) {
    int failures = 0;
    for (;;) {
        const base::Status s = attempt();
        if (s.ok()) return;
        if (!s.IsBusy() && !s.IsIOError()) throw Abandon(ShortenMessage(message));
        if (++failures > silent) {
            WriteMessage(rt_, ShortenMessage(message), rt_.Standard(rt_.colours().ycowp));
            rt_.console().Tone(kToneFrequency, kToneTicks);
            const char answer = Question(rt_, question, "tn", 't');
            WriteMessage(rt_, "", rt_.Standard(rt_.colours().ycow));
            if (!IsYes(answer) || rt_.console().LastKey() == console::key::kEsc) Cancel();
            failures = 0;
        }
        Pause();
    }
}

void Tables::RLock(dbf::WorkArea& area) {
    LockWithRetry(policy_.silent_locks, rt_.Text("Błąd blokady rekordu - ") + area.alias(),
                  rt_.Text("Powtórzyć próbę?"), [&] { return area.RLock(); });
}

void Tables::FLock(dbf::WorkArea& area) {
    LockWithRetry(policy_.silent_locks, rt_.Text("Błąd blokady zbioru: ") + area.alias(),
                  rt_.Text("Powtórzyć próbę?"), [&] { return area.FLock(); });
}

void Tables::Append(dbf::WorkArea& area) {
    LockWithRetry(policy_.silent_appends - 1, rt_.Text("Błąd wstawienia rekordu: ") + area.alias(),
                  rt_.Text("Powtórzyć próbę zapisu?"), [&] { return area.Append(); });
}

void Tables::Reserve(dbf::WorkArea& area, std::string_view key) {
    Reserve(area, key, area.table().NewRecord());
}

void Tables::Reserve(dbf::WorkArea& area, std::string_view key, const dbf::Record& contents) {
    dbf::Record reserved = contents;
    reserved.set_deleted(true);
    if (area.order() > 0 && !key.empty()) {
        const bool hide = area.hide_deleted();
        area.set_hide_deleted(false);
        base::Status s = area.Seek(key);
        dbf::Index& index = area.index(static_cast<size_t>(area.order() - 1));
        std::string k;
        bool included = false;
        while (s.ok() && !area.eof()) {
            k.clear();
            index.KeyOf(area.record(), &k, &included);
            if (k.compare(0, key.size(), key) != 0) break;
            if (area.deleted()) break;
            s = area.Skip(1);
        }
        const bool reuse =
            s.ok() && !area.eof() && area.deleted() && k.compare(0, key.size(), key) == 0;
        if (reuse) {
            RLock(area);
            // Another workstation may have taken it meanwhile.
            if (area.deleted()) {
                area.record() = reserved;
                s = area.Commit();
                area.set_hide_deleted(hide);
                if (!s.ok())
                    throw Abandon(ShortenMessage(rt_.Text("Błąd zapisu: ") + area.alias()));
                return;
            }
            area.Unlock();
        }
        area.set_hide_deleted(hide);
    }
    // Appended already marked deleted, in one write: a process killed here
    // leaves no visible record behind, blank or half made.
    LockWithRetry(policy_.silent_appends - 1, rt_.Text("Błąd wstawienia rekordu: ") + area.alias(),
                  rt_.Text("Powtórzyć próbę zapisu?"), [&] { return area.Append(reserved); });
}

void Tables::Confirm(dbf::WorkArea& area) {
    base::Status s = area.Commit();
    if (s.ok()) s = area.Recall();
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd zapisu: ") + area.alias()));
}

}  // namespace kestrel::common
