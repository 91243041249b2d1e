// A fresh directory for each file test, made the current one so tests use short relative names.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes filledBytes(std::size_t count, unsigned char value)
{
    return Bytes(count, value);
}

class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        // Tests may run as parallel processes, so the name must not be guessable by a sibling.
        std::random_device random;
        do
            dir_ = fs::temp_directory_path() / ("kestrum-test-" + std::to_string(random()));
        while (!fs::create_directory(dir_));
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }

    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }

    // Throws, which ends the test as failed: an ASSERT would end only this helper.
    static void writeBytes(const std::string& name, const Bytes& bytes)
    {
        std::ofstream file(name, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!file.good())
            throw std::runtime_error("could not prepare " + name);
    }

    // A file of `size` zero bytes, made by writing its last one, so the system may leave a
    // hole. Not resize_file: MinGW's first asks every volume for its free space, which
    // under Wine now and then fails.
    static void zeroFile(const std::string& name, std::uint64_t size)
    {
        std::ofstream file(name, std::ios::binary | std::ios::trunc);
        file.seekp(std::streamoff(size - 1));
        file.put('\0');
        if (!file.good())
            throw std::runtime_error("could not prepare " + name);
    }

    // An absent file reads as empty and fails the test: no caller expects one.
    static Bytes readBytes(const std::string& name)
    {
        std::ifstream file(name, std::ios::binary);
        if (!file) {
            ADD_FAILURE() << name << " does not exist";
            return {};
        }
        return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    // Lets one test run several scenarios, each from an empty directory.
    static void emptyDir()
    {
        for (const auto& entry : std::filesystem::directory_iterator("."))
            std::filesystem::remove_all(entry.path());
    }

    static bool exists(const std::string& name)
    {
        return std::filesystem::exists(name);
    }

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};
