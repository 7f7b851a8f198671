#include "fake_services.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace brivana::testing {

double ScriptedRandom::next()
{
    log += "d";
    if (values.empty()) {
        ADD_FAILURE() << "the game drew more random values than the test scripted";
        return 0.0;
    }
    const double value = values.front();
    values.pop_front();
    return value;
}

void ScriptedRandom::reseedFromTime() { log += "R"; }

TempDir::TempDir()
{
    std::random_device entropy;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("brivana-test-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::recordDir() const
{
    return path_.string() + static_cast<char>(std::filesystem::path::preferred_separator);
}

IoStatus FaultyFileAccess::writeNew(const std::string& path, const std::string& bytes)
{
    if (!diskFull) return real_.writeNew(path, bytes);
    real_.writeNew(path, bytes.substr(0, bytes.size() / 2));
    return IoStatus::failure("Non riesco a scrivere " + path + ": il disco è pieno.");
}

IoStatus FaultyFileAccess::replace(const std::string& from, const std::string& to)
{
    if (++replaceCalls == failReplaceCall)
        return IoStatus::failure("Non riesco a sostituire " + to + ": errore di lettura o scrittura sul disco.");
    return real_.replace(from, to);
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace brivana::testing
