#include "batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>

#include "common/annotated_mutex.h"
#include "file_patterns.h"
#include "private_folder.h"
#include "processes.h"
#include "report.h"
#include "rows.h"
#include "runner.h"

namespace quorvex::run {
namespace {

using Clock = std::chrono::steady_clock;

Inputs inputsFor(const Inputs& inputs, const std::string& file) {
  Inputs result = inputs;
  for (auto& input : result) {
    for (Value& value : input.second) {
      auto* text = std::get_if<std::string>(&value);
      for (auto at = text ? text->find("{}") : std::string::npos; at != std::string::npos;
           at = text->find("{}", at + file.size())) {
        text->replace(at, 2, file);
      }
    }
  }
  return result;
}

// Runs one file; then writes its windows as snapshots, or just closes them, so that every
// file starts with none, as a run of its own would. Threads share the windows: they leave them.
Row runFile(Library& library, ProcedureSession& session, const Options& options,
            const std::string& procedures, const std::vector<std::string>& files,
            std::size_t index) {
  const std::string& file = files[index];
  const auto start = Clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  std::optional<Record> failure;
  std::vector<Values> outputs;
  const auto attempt = [&](auto&& action) {
    try {
      action();
    } catch (const RecordError& error) {
      if (!failure) failure = error.record;
    } catch (const std::exception& error) {
      if (!failure) failure = Record{-1, {}, {}, -1, -1, std::string(error.what()), {}};
    }
  };
  attempt([&] { outputs = session.call(inputsFor(options.inputs, file)); });
  std::vector<std::string> pictures;
  if (!options.threads) {
    const std::string prefix = picturePrefix(index, files.size(), file);
    attempt([&] { pictures = writeSnapshots(library, procedures, options.snapshots, prefix); });
  }
  Row row = failure ? failureRow(file, seconds(), session.outputNames().size(), *failure)
                    : successRow(file, seconds(), outputs);
  row.pictures = std::move(pictures);
  return row;
}

// The rows as they arrive, in any order; the consumer writes them in file order.
struct Results {
  explicit Results(std::size_t files) : rows(files) {}

  quorvex::common::Mutex mutex;
  std::condition_variable_any arrived;  // waits on `mutex`
  std::vector<std::optional<Row>> rows QUORVEX_GUARDED_BY(mutex);
  std::size_t done QUORVEX_GUARDED_BY(mutex) = 0;
  bool stopped QUORVEX_GUARDED_BY(mutex) = false;

  void put(std::size_t index, Row row) QUORVEX_EXCLUDES(mutex) {
    {
      quorvex::common::Lock lock(mutex);
      if (index >= rows.size() || rows[index]) return;
      rows[index] = std::move(row);
      ++done;
    }
    arrived.notify_one();
  }
  bool isStopped() QUORVEX_EXCLUDES(mutex) {
    quorvex::common::Lock lock(mutex);
    return stopped;
  }
};

std::string clockText(double seconds) {
  const long total = static_cast<long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

void drawProgress(std::size_t done, std::size_t total, double elapsed) {
  const double rate = elapsed > 0 ? static_cast<double>(done) / elapsed : 0.0;
  const int width = 30;
  const int filled = total ? static_cast<int>(width * done / total) : width;
  const std::string left =
      rate > 0 ? clockText(static_cast<double>(total - done) / rate) + " left" : "--:-- left";
  std::fprintf(stderr, "\r[%s%s] %zu/%zu  %.1f files/s  %s ", std::string(filled, '#').c_str(),
               std::string(width - filled, '.').c_str(), done, total, rate, left.c_str());
  std::fflush(stderr);
}

// A worker's input: the snapshot procedure's folder, the options, then the files, each ended
// by a NUL, which no argument or file name can hold.
std::string workerInput(const std::string& procedures, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& files) {
  std::string input = procedures + '\0';
  for (const auto& argument : arguments) input += argument + '\0';
  input += std::string("--files") + '\0';
  for (const auto& file : files) input += file + '\0';
  return input;
}

// A worker process and the thread that reads its rows.
void readWorker(ChildProcess& child, std::size_t first, std::size_t step,
                const std::vector<std::string>& files, std::size_t outputs, Results& results,
                std::atomic<long>& id) {
  std::string line;
  std::size_t index = 0;
  Row row;
  std::vector<std::string> pictures;
  while (child.readLine(line)) {
    if (line.rfind("pid ", 0) == 0) {
      id = std::atol(line.c_str() + 4);
    } else if (decodePictures(line, index, pictures)) {
    } else if (decodeRow(line, index, row)) {
      row.pictures = std::move(pictures);  // the line before a row names its pictures
      pictures.clear();
      results.put(index, std::move(row));
    }
  }
  const int status = child.wait();
  if (results.isStopped()) return;
  for (std::size_t i = first; i < files.size(); i += step) {
    Record record;
    record.message = "the worker process ended before this file's result (status " +
                     std::to_string(status) + ")";
    results.put(i, failureRow(files[i], 0.0, outputs, record));
  }
}

}  // namespace

std::string picturePrefix(std::size_t index, std::size_t count, const std::string& file) {
  std::string place = std::to_string(index + 1);
  place.insert(
      0, std::to_string(count).size() - std::min(place.size(), std::to_string(count).size()), '0');
  std::string name = std::filesystem::path(file).filename().string();
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return place + "_" + name + "_";
}

int runWorker(Library& library, const Options& options, const std::vector<std::string>& files,
              const std::string& procedures) {
  initialise(library, options, true);  // stdout carries the rows
  setOperatorThreads(library, procedures, options.operatorThreads ? options.operatorThreads : 1);
  std::printf("pid %ld\n", currentProcessId());
  std::size_t first = 0, step = 1;
  if (std::sscanf(options.worker.c_str(), "%zu/%zu", &first, &step) != 2 || step == 0) return 2;
  ProcedureSession session(library, options.procedure);
  for (std::size_t i = first; i < files.size(); i += step) {
    const Row row = runFile(library, session, options, procedures, files, i);
    std::string line = encodeRow(i, row);
    if (!row.pictures.empty()) line = encodePictures(i, row.pictures) + "\n" + line;
    // A runner that stopped reading has stopped the batch.
    if (std::printf("%s\n", line.c_str()) < 0 || std::fflush(stdout) != 0) return 1;
  }
  return 0;
}

int workerMain(const std::string& slice) {
  const std::string input = readStandardInput();
  std::vector<std::string> items;
  for (std::size_t at = 0, end; (end = input.find('\0', at)) != std::string::npos; at = end + 1) {
    items.push_back(input.substr(at, end - at));
  }
  const auto filesAt = std::find(items.begin(), items.end(), "--files");
  if (items.empty() || filesAt == items.end()) {
    throw std::runtime_error("no options on the standard input: a worker is started by the runner");
  }
  Options options = parseOptions(std::vector<std::string>(items.begin() + 1, filesAt));
  options.worker = slice;
  Library library(options.library);
  return runWorker(library, options, std::vector<std::string>(filesAt + 1, items.end()), items[0]);
}

int runBatch(Library& library, const Options& options, const std::string& self) {
  const std::vector<std::string> files = batchFiles(options.batch);
  if (files.empty()) {
    throw std::invalid_argument(
        (options.batch[0] == '@' ? "no file listed in " : "no file matches ") + options.batch);
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t jobs = std::min<std::size_t>(
      options.jobs ? static_cast<std::size_t>(options.jobs) : cores, files.size());
  const bool inProcess = options.threads || jobs == 1;
  // The snapshot procedure writes or just closes each file's windows, so every batch in
  // processes needs it. Made before anything runs or is written: a temporary folder that
  // cannot be made is one error of the batch, not a failure of every file.
  std::optional<PrivateFolder> procedures;
  if (!options.threads) {
    procedures.emplace();
    writeSnapshotProcedure(procedures->path());
  }
  const std::string proceduresFolder = procedures ? procedures->path() : std::string();

  // The procedure is loaded here in any case: its outputs name the columns, and a wrong
  // input name is reported once, before any file runs.
  if (inProcess) {
    initialise(library, options, options.out == "-");
    if (options.operatorThreads) {
      setOperatorThreads(library, proceduresFolder, options.operatorThreads);
    }
  } else {
    for (const auto& path : options.paths) {
      if (ErrorMsg* record = library.haddProcedurePath(path.c_str())) {
        RecordError error(*record);
        library.hclearErrorMsg(record);
        throw error;
      }
    }
  }
  ProcedureSession probe(library, options.procedure);
  probe.checkInputs(options.inputs);
  const std::vector<std::string> outputs = probe.outputNames();

  std::ofstream file;
  if (options.out != "-") {
    file.open(options.out, std::ios::binary);
    if (!file) throw std::runtime_error("cannot write " + options.out);
  }
  const bool csv = std::filesystem::path(options.out).extension() == ".csv";
  RowWriter writer(options.out == "-" ? std::cout : file, csv, columnNames(outputs));
  std::optional<Report> report;
  if (!options.report.empty()) {
    report.emplace(options.report, outputs, options.procedure + " over " + options.batch);
  }

  Results results(files.size());
  std::vector<std::thread> producers;
  std::vector<std::unique_ptr<ChildProcess>> children;
  std::vector<std::unique_ptr<std::atomic<long>>> childIds;
  std::atomic<std::size_t> next{0};
  if (inProcess) {
    for (std::size_t t = 0; t < jobs; ++t) {
      producers.emplace_back([&] {
        try {
          ProcedureSession session(library, options.procedure);
          for (std::size_t i = next++; i < files.size() && !results.isStopped(); i = next++) {
            results.put(i, runFile(library, session, options, proceduresFolder, files, i));
          }
        } catch (const std::exception& error) {  // every file left fails with the reason
          const Record record{-1, {}, {}, -1, -1, std::string(error.what()), {}};
          for (std::size_t i = next++; i < files.size(); i = next++) {
            results.put(i, failureRow(files[i], 0.0, outputs.size(), record));
          }
        }
      });
    }
  } else {
    std::vector<std::string> arguments = options.originalArguments;
    arguments.insert(arguments.end(), {"--library", options.library});
    const std::string input = workerInput(proceduresFolder, arguments, files);
    for (std::size_t k = 0; k < jobs; ++k) {
      const std::string slice = std::to_string(k) + "/" + std::to_string(jobs);
      children.push_back(
          std::make_unique<ChildProcess>(self, std::vector<std::string>{"--worker", slice}, input));
      childIds.push_back(std::make_unique<std::atomic<long>>(0));
      producers.emplace_back(readWorker, std::ref(*children.back()), k, jobs, std::cref(files),
                             outputs.size(), std::ref(results), std::ref(*childIds.back()));
    }
  }

  const bool terminal = stderrIsTerminal();
  const auto start = Clock::now();
  std::size_t written = 0, failed = 0;
  {
    quorvex::common::Lock lock(results.mutex);
    while (written < files.size() && !results.stopped) {
      results.arrived.wait_for(results.mutex, std::chrono::milliseconds(100));
      while (written < files.size() && results.rows[written] && !results.stopped) {
        const Row& row = *results.rows[written++];
        writer.write(row);
        if (report) report->add(row);
        if (!row.ok) {
          ++failed;
          if (options.failFast) results.stopped = true;
        }
      }
      const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
      if (terminal) drawProgress(results.done, files.size(), elapsed);
    }
  }
  if (results.isStopped()) {
    for (const auto& id : childIds) {
      if (*id) terminateProcess(*id);
    }
  }
  for (auto& producer : producers) producer.join();
  children.clear();
  procedures.reset();

  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  if (terminal) std::fputs("\n", stderr);
  if (report) std::fprintf(stderr, "report: %s\n", report->finish(elapsed, jobs).c_str());
  std::fprintf(stderr,
               "quorvex-run: %zu of %zu files, %zu failed%s, %.2f s (%.1f files/s), %zu %s\n",
               written, files.size(), failed, results.isStopped() ? " (stopped at the first)" : "",
               elapsed, elapsed > 0 ? static_cast<double>(written) / elapsed : 0.0, jobs,
               inProcess ? (jobs == 1 ? "job" : "threads") : "worker processes");
  return failed ? 1 : 0;
}

}  // namespace quorvex::run
