// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/station_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstring>

#include "directory/station_directory.h"
#include "import/directory_writer.h"

namespace moltrevane {
namespace {

constexpr std::size_t kPieceBytes = 256 * 1024;
constexpr std::size_t kHeadBytes = 64 * 1024;

// One list file, read in pieces; a FIFO or a device is refused rather than waited on.
class ListFile {
public:
    explicit ListFile(const std::filesystem::path& path) : fd_(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        struct stat status {};
        if (fd_ < 0) error_ = std::strerror(errno);
        else if (fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) error_ = "is no plain file";
        else size_ = static_cast<std::size_t>(status.st_size);
    }
    ~ListFile() {
        if (fd_ >= 0) close(fd_);
    }
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    const std::string& Error() const { return error_; }
    std::size_t Size() const { return size_; }
    std::size_t Done() const { return done_; }

    std::string Head() {
        std::string head(kHeadBytes, '\0');
        const ssize_t got = pread(fd_, head.data(), head.size(), 0);
        head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return head;
    }

    std::string_view Next() {
        if (error_.size() != 0) return {};
        const ssize_t got = read(fd_, piece_.data(), piece_.size());
        if (got < 0) {
            if (errno == EINTR) return Next();
            error_ = std::strerror(errno);
            return {};
        }
        done_ += static_cast<std::size_t>(got);
        return {piece_.data(), static_cast<std::size_t>(got)};
    }

private:
    int fd_;
    std::string error_;
    std::size_t size_ = 0, done_ = 0;
    std::string piece_ = std::string(kPieceBytes, '\0');
};

bool Stopped(const ImportOptions& options) { return options.stop != nullptr && options.stop->load(); }

// Reads one file into the writer; the error names the file.
std::string ImportFile(const std::filesystem::path& path, std::size_t index, const ImportOptions& options,
                       DirectoryWriter& writer, FileReport& report) {
    const std::string name = path.filename().string();
    ListFile file(path);
    if (!file.Error().empty()) return name + ": " + file.Error();
    std::optional<ListFormat> format = options.format ? options.format : DetectFormat(file.Head());
    if (!format) return name + ": is no station list (it holds bytes no text has)";
    report.format = *format;
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastProgress = Clock::now();
    const auto next = [&]() -> std::string_view {
        if (Stopped(options)) return {};
        if (options.progress && Clock::now() - lastProgress > std::chrono::milliseconds(100)) {
            lastProgress = Clock::now();
            // A list that grows while it is read has more bytes than it had when opened.
            options.progress(index, file.Size() ? std::min(1.0, static_cast<double>(file.Done()) / file.Size()) : 1.0);
        }
        return file.Next();
    };
    bool failed = false;
    const auto onStation = [&](const ListedStation& station) {
        if (Stopped(options)) return false;
        const RowOutcome outcome = RowOf(station, SourceName(report.format), options.includeInactive);
        if (!outcome.row) {
            ++(outcome.reason == SkipReason::NoCall       ? report.noCall
               : outcome.reason == SkipReason::NotWorking ? report.notWorking
                                                          : report.noPosition);
            return true;
        }
        switch (writer.Add(*outcome.row)) {
            case DirectoryWriter::Added::New:
                ++report.stations;
                report.fromSquare += outcome.fromSquare ? 1 : 0;
                report.withFrequency += (*outcome.row)[5].empty() ? 0 : 1;
                return true;
            case DirectoryWriter::Added::Duplicate: ++report.duplicates; return true;
            case DirectoryWriter::Added::Failed: failed = true; return false;
        }
        return false;
    };
    const std::string error = ReadStationList(report.format, next, onStation);
    if (Stopped(options)) return name + ": interrupted";
    if (failed) return writer.Error();
    if (!file.Error().empty()) return name + ": " + file.Error();
    if (!error.empty()) return name + ": " + error;
    // Valid JSON or CSV without a single station is no list: it must not empty the directory.
    if (report.stations + report.noCall + report.notWorking + report.noPosition + report.duplicates == 0)
        return name + ": holds no stations";
    if (options.progress) options.progress(index, 1.0);
    return {};
}

// The stations of the directory that is there, into the writer first, by the same rule as a
// list's: read as any directory is, without trusting it, and given up with the import.
std::string KeepStations(const std::filesystem::path& target, const ImportOptions& options, DirectoryWriter& writer,
                         std::optional<std::size_t>& kept) {
    std::error_code missing;
    if (!std::filesystem::exists(target, missing)) return {};
    const StationDirectory directory(target, std::chrono::hours(1), options.stop);
    kept = 0;
    bool failed = false;
    const std::string statement = "SELECT call, loc, asl, mode, qth, aus, ein, kanal, rem1, rem2, " +
                                  std::string(directory.SiteColumns()) + " FROM repeater";
    const bool read = directory.RunQuery(statement, [&](RowValues values) {
        DirectoryRow row;
        for (std::size_t i = 0; i < row.size() && i < values.size(); ++i) row[i] = values[i];
        if (failed) return;
        const DirectoryWriter::Added added = writer.Add(row);
        failed = added == DirectoryWriter::Added::Failed;
        *kept += added == DirectoryWriter::Added::New ? 1 : 0;
    });
    if (Stopped(options)) return "interrupted";
    if (failed) return writer.Error();
    if (!read) return "cannot read the stations of " + target.string() + " to add to them";
    return {};
}

ImportOutcome ImportAll(std::span<const std::filesystem::path> files, const std::filesystem::path& target,
                        const ImportOptions& options) {
    ImportOutcome outcome;
    std::unique_ptr<DirectoryWriter> writer = DirectoryWriter::Begin(target, outcome.error);
    if (!writer) return outcome;
    if (options.kind == ImportKind::Add && !(outcome.error = KeepStations(target, options, *writer, outcome.kept)).empty())
        return outcome;
    for (std::size_t i = 0; i < files.size(); ++i) {
        outcome.files.push_back({.name = files[i].filename().string()});
        outcome.error = ImportFile(files[i], i, options, *writer, outcome.files.back());
        if (!outcome.error.empty()) return outcome;
    }
    if (Stopped(options)) return outcome.error = "interrupted", outcome;
    // Lists that give no station (of a shape no reader knows, every station skipped) would
    // leave an empty directory: the user is told why each gave none instead.
    std::size_t stations = 0;
    for (const FileReport& file : outcome.files) stations += file.stations;
    if (stations == 0) {
        outcome.error = "no station to import";
        for (const FileReport& file : outcome.files) outcome.error += "\n" + ReportLine(file);
        return outcome;
    }
    outcome.error = writer->Commit(options.stop);
    outcome.keptOld = writer->KeptOld();
    outcome.oldPath = writer->OldPath();
    return outcome;
}

}  // namespace

ImportOutcome ImportStations(std::span<const std::filesystem::path> files, const std::filesystem::path& target,
                             const ImportOptions& options) {
    // Whatever throws (memory running out), the writer's file goes with it and the caller is told.
    try {
        return ImportAll(files, target, options);
    } catch (const std::exception& error) {
        ImportOutcome outcome;
        outcome.error = error.what();
        return outcome;
    }
}

std::string ReportLine(const FileReport& report) {
    std::string skips;
    const auto skip = [&](std::size_t count, const char* reason) {
        if (count > 0) skips += (skips.empty() ? ": " : ", ") + std::to_string(count) + " " + reason;
    };
    skip(report.notWorking, "not working");
    skip(report.noPosition, "without a position");
    skip(report.noCall, "without a call");
    skip(report.duplicates, report.duplicates == 1 ? "duplicate" : "duplicates");
    const std::size_t skipped = report.notWorking + report.noPosition + report.noCall + report.duplicates;
    const bool noFrequency = report.stations > 0 && report.withFrequency == 0;
    return report.name + ": " + std::to_string(report.stations) + (report.stations == 1 ? " station" : " stations") +
           (noFrequency ? ", none with a frequency (" : " (") +
           std::to_string(skipped) + " skipped" + skips + "; " + std::to_string(report.fromSquare) +
           " placed from a 4-character locator)";
}

std::string ReportText(const ImportOutcome& outcome) {
    if (!outcome.error.empty()) return outcome.error + "\nThe station directory was left as it was.";
    std::string text;
    if (outcome.kept) text += std::to_string(*outcome.kept) + " stations of the directory kept, the lists' added:\n";
    for (const FileReport& file : outcome.files) text += ReportLine(file) + "\n";
    if (outcome.keptOld) text += "The directory before was kept as " + outcome.oldPath.string() + ".";
    else text += "There was no directory before.";
    return text;
}

std::string UndoImport(const std::filesystem::path& target) {
    std::string busy;
    const UniqueFd lock = LockImportFolder(target, busy);
    if (!lock) return busy;
    const std::filesystem::path old = target.string() + ".old";
    struct stat status {};
    if (lstat(old.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return "there is no " + old.string() + " to go back to";
    // One step, atomic: the program, which may be reading the directory, sees the one or the other.
    const bool swapped = renameat2(AT_FDCWD, old.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
    if (!swapped && !(errno == ENOENT && rename(old.c_str(), target.c_str()) == 0))
        return "cannot put " + old.string() + " back: " + std::strerror(errno);
    fsync(lock.get());  // the folder's: the swap outlives a power cut
    return {};
}

}  // namespace moltrevane
