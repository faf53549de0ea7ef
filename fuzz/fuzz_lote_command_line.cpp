// The batch command's options: any arguments give an answer without
// failing, a refusal says why, and the options of a run, written out again
// as a plain command line, read back the same.
//
// Input: the arguments, each ended by a zero byte.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "lote/lote_command_line.h"

namespace {

using namespace nfp;

LoteCommandLine Parse(const std::vector<std::string>& arguments) {
    std::vector<const char*> pointers;
    for (const std::string& a : arguments) pointers.push_back(a.c_str());
    return ParseLoteCommandLine(pointers);
}

// The options as a command line that says each one plainly.
std::vector<std::string> Written(const LoteOptions& o) {
    std::vector<std::string> args{o.processamento ? "--processamento" : "--validacao", "--mes"};
    switch (o.month.kind) {
    case RunMonth::Kind::Atual: args.push_back("atual"); break;
    case RunMonth::Kind::Anterior: args.push_back("anterior"); break;
    case RunMonth::Kind::Given: {
        char text[32];
        std::snprintf(text, sizeof text, "%02u/%04d", o.month.month, o.month.year);
        args.push_back(text);
        break;
    }
    }
    for (const std::string& cnpj : o.cnpjs) {
        args.push_back("--cnpj");
        args.push_back(cnpj);
    }
    if (o.retificar) args.push_back("--retificar");
    if (o.simular) args.push_back("--simular");
    if (o.resumo) {
        args.push_back("--resumo");
        args.push_back(o.resumo->path);
    }
    if (o.silencioso) args.push_back("--silencioso");
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    std::vector<std::string> arguments;
    for (std::string_view rest = input.Rest(); !rest.empty();) {
        const std::size_t end = rest.find('\0');
        arguments.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }

    const LoteCommandLine line = Parse(arguments);
    switch (line.action) {
    case LoteCommandLine::Action::Usage:
        FUZZ_CHECK(!line.problem.empty());
        FUZZ_CHECK(!LoteUsageErrorText(line.problem).empty());
        break;
    case LoteCommandLine::Action::Help:
    case LoteCommandLine::Action::Version:
        break;
    case LoteCommandLine::Action::Run: {
        const LoteOptions& o = line.options;
        for (std::size_t i = 0; i < o.cnpjs.size(); ++i) {
            FUZZ_CHECK(!o.cnpjs[i].empty());
            for (std::size_t j = 0; j < i; ++j) FUZZ_CHECK(o.cnpjs[i] != o.cnpjs[j]);
        }
        if (o.month.kind == RunMonth::Kind::Given) FUZZ_CHECK(o.month.month >= 1 && o.month.month <= 12);
        if (o.resumo) FUZZ_CHECK(o.resumo->path.size() > 4);
        const LoteCommandLine again = Parse(Written(o));
        FUZZ_CHECK(again.action == LoteCommandLine::Action::Run);
        const LoteOptions& a = again.options;
        FUZZ_CHECK(a.processamento == o.processamento && a.retificar == o.retificar && a.simular == o.simular &&
                   a.silencioso == o.silencioso);
        FUZZ_CHECK(a.month == o.month);
        FUZZ_CHECK(a.cnpjs == o.cnpjs);
        FUZZ_CHECK(a.resumo == o.resumo);
        break;
    }
    }
    return 0;
}
