// A stand-in for the converter whose behaviour a test writes down beforehand: the same program
// on Linux and Windows, so the runner and the batch are tested with real processes and pipes on
// both. It reads its steps from "<its own path without extension>.steps", one per line:
//
//   out TEXT        TEXT on standard output (\n, \t, \\ and \xHH are the bytes they name)
//   err TEXT        TEXT on standard error
//   fill N TEXT     TEXT N times on standard output, in one go
//   sleep MS        waits MS milliseconds
//   await FILE      waits until FILE exists; ends with 71 when it has not come in 20 s
//   exit CODE       ends with CODE
//   crash SIGNAL    ends abruptly (Linux: by SIGNAL; Windows: terminated)
//   write TEXT      TEXT as the whole output file (the last argument)
//   copy            the input file (the argument after -i) as the output file
//   append FILE T   T and a line end added to FILE
//   args FILE       every argument, each followed by a zero byte, as the whole of FILE
//   helper [quiet]  starts a copy of itself that waits a minute, holding the output pipe
//                   unless quiet
//   helper-as NAME  the same, quiet, under the file name NAME beside this program
//   later MS TEXT   starts a copy of itself that writes TEXT on the output pipe after MS
//                   unless quiet
//   stdin           reads a line: "read:LINE" on standard output, else "nothing"
//
// A step may begin with "[PART] ": it is taken only when the input's name holds PART ("[!PART] ":
// only when it does not). In TEXT,
// {pid} is the process id, {1} the first argument, {name} the input's file name, {clock} the
// wall clock in nanoseconds, {start} that clock when the program started.
#include "FakeConverterSystem.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

long long WallClockNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

const long long kStart = WallClockNanoseconds();

struct Run
{
    std::vector<std::string> arguments;
    std::string input, output;
};

std::string Unescape(const std::string &text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 'n')
            bytes += '\n';
        else if (next == 't')
            bytes += '\t';
        else if (next == 'x' && i + 2 < text.size()) {
            bytes += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            bytes += next;
    }
    return bytes;
}

void ReplaceAll(std::string &text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string Expand(const std::string &text, const Run &run)
{
    std::string expanded = Unescape(text);
    const std::size_t slash = run.input.find_last_of("/\\");
    ReplaceAll(expanded, "{pid}", std::to_string(fakeconv::ProcessId()));
    ReplaceAll(expanded, "{1}", run.arguments.empty() ? std::string() : run.arguments[0]);
    ReplaceAll(expanded, "{name}", slash == std::string::npos ? run.input : run.input.substr(slash + 1));
    ReplaceAll(expanded, "{clock}", std::to_string(WallClockNanoseconds()));
    ReplaceAll(expanded, "{start}", std::to_string(kStart));
    return expanded;
}

void Put(std::FILE *stream, const std::string &bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

void WriteFile(const std::string &path, const std::string &bytes, bool append)
{
    std::ofstream file(std::filesystem::u8path(path),
                       std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    file << bytes;
}

void Take(const std::string &verb, const std::string &rest, const Run &run)
{
    std::istringstream words(rest);
    if (verb == "out")
        Put(stdout, Expand(rest, run));
    else if (verb == "err")
        Put(stderr, Expand(rest, run));
    else if (verb == "fill") {
        long long count = 0;
        words >> count;
        std::string text;
        std::getline(words >> std::ws, text);
        std::string bytes;
        const std::string one = Expand(text, run);
        for (long long i = 0; i < count; ++i)
            bytes += one;
        Put(stdout, bytes);
    } else if (verb == "sleep") {
        long long milliseconds = 0;
        words >> milliseconds;
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    } else if (verb == "await") {
        std::string file;
        words >> std::quoted(file);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!std::filesystem::exists(std::filesystem::u8path(file))) {
            if (std::chrono::steady_clock::now() > deadline)
                std::exit(71);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    } else if (verb == "close") { // goes on without its output
        std::fclose(stdout);
        std::fclose(stderr);
    } else if (verb == "exit") {
        int code = 0;
        words >> code;
        std::exit(code);
    } else if (verb == "crash") {
        int signal = 9;
        words >> signal;
        fakeconv::EndAbruptly(signal);
    } else if (verb == "write")
        WriteFile(run.output, Expand(rest, run), false);
    else if (verb == "copy") {
        std::ifstream input(std::filesystem::u8path(run.input), std::ios::binary);
        std::ostringstream bytes;
        bytes << input.rdbuf();
        WriteFile(run.output, bytes.str(), false);
    } else if (verb == "append" || verb == "args") {
        std::string file;
        words >> std::quoted(file);
        std::string text;
        std::getline(words >> std::ws, text);
        if (verb == "append")
            WriteFile(file, Expand(text, run) + "\n", true);
        else {
            std::string bytes;
            for (const std::string &argument : run.arguments)
                bytes += argument + '\0';
            WriteFile(file, bytes, false);
        }
    } else if (verb == "helper")
        fakeconv::StartHelper(fakeconv::OwnPath(), rest != "quiet", {"helper"});
    else if (verb == "helper-as") {
        const std::filesystem::path self = std::filesystem::u8path(fakeconv::OwnPath());
        const std::filesystem::path copy = self.parent_path() / std::filesystem::u8path(rest);
        std::filesystem::copy_file(self, copy, std::filesystem::copy_options::overwrite_existing);
        fakeconv::StartHelper(copy.u8string(), false, {"helper"});
    } else if (verb == "later") {
        std::string milliseconds, text;
        words >> milliseconds;
        std::getline(words >> std::ws, text);
        fakeconv::StartHelper(fakeconv::OwnPath(), true, {"later", milliseconds, Expand(text, run)});
    } else if (verb == "stdin") {
        std::string line;
        Put(stdout, std::getline(std::cin, line) ? "read:" + line + "\n" : std::string("nothing\n"));
    } else {
        Put(stderr, "fake converter: unknown step " + verb + "\n");
        std::exit(70);
    }
}

} // namespace

int main(int argc, char **argv)
{
    fakeconv::UseBinaryStreams();
    Run run;
    run.arguments = fakeconv::Arguments(argc, argv);
    if (run.arguments.size() == 1 && run.arguments[0] == "helper") {
        std::this_thread::sleep_for(std::chrono::minutes(1));
        return 0;
    }
    if (run.arguments.size() == 3 && run.arguments[0] == "later") {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoll(run.arguments[1])));
        Put(stdout, run.arguments[2]);
        return 0;
    }
    for (std::size_t i = 0; i < run.arguments.size(); ++i) {
        if (run.arguments[i] == "-i" && i + 1 < run.arguments.size())
            run.input = run.arguments[i + 1];
    }
    if (!run.arguments.empty())
        run.output = run.arguments.back();

    std::string path = fakeconv::OwnPath();
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && path.find_first_of("/\\", dot) == std::string::npos)
        path.erase(dot);
    // Read whole at the start: a test may write the next run's steps while this one runs.
    std::ifstream file(std::filesystem::u8path(path + ".steps"), std::ios::binary);
    if (!file) {
        Put(stderr, "fake converter: no steps beside " + path + "\n");
        return 70;
    }
    std::ostringstream whole;
    whole << file.rdbuf();
    std::istringstream steps(whole.str());
    for (std::string line; std::getline(steps, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 1 && line[0] == '[') {
            const std::size_t close = line.find("] ");
            std::string part = line.substr(1, close - 1);
            const bool holds = part[0] != '!';
            if (!holds)
                part.erase(0, 1);
            line.erase(0, close + 2);
            if ((run.input.find(part) != std::string::npos) != holds)
                continue;
        }
        const std::size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        if (!verb.empty())
            Take(verb, space == std::string::npos ? std::string() : line.substr(space + 1), run);
    }
    return 0;
}
