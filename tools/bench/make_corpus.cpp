// Writes the benchmark's corpus (tools/bench/corpus.h) into a folder:
//   gws_bench_corpus FOLDER [RECORDS]
// and names each file with its size and record count. The bytes are the same on every machine.
// RECORDS makes each file only that many records long, for a test that the programs still run.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tools/bench/corpus.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: gws_bench_corpus FOLDER [RECORDS]\n";
    return 2;
  }
  const int count = argc == 3 ? std::atoi(argv[2]) : -1;
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (const bench::CorpusKind& kind : bench::CorpusKinds()) {
    const std::string bytes = bench::Generate(kind, count);
    const std::filesystem::path path = folder / kind.fileName;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
      std::cerr << "gws_bench_corpus: cannot write " << path.string() << "\n";
      return 1;
    }
    std::cout << path.string() << ": " << (count < 0 ? kind.recordCount : count) << " records, "
              << bytes.size() << " bytes\n";
  }
  return 0;
}
