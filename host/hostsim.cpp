// hostsim: the host logger stand-in on the command line.
//   hostsim exports [DLL]   lists the exports found and the small entry points' answers
#include <cstdio>
#include <cstring>
#include <string>

#include "host/host.h"

namespace {

std::string DefaultDll(const char* argv0)
{
    std::string self(argv0);
    size_t slash = self.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "BALTIC.dll";
}

int ListExports(const std::string& dll)
{
    for (int decorated = 0; decorated < 2; ++decorated) {
        PluginHost host(dll, decorated != 0);
        if (!host.Module()) {
            std::fprintf(stderr, "hostsim: %s\n", host.Error().c_str());
            return 1;
        }
        const std::vector<std::string>& names = decorated ? PluginHost::DecoratedNames() : PluginHost::PlainNames();
        std::printf("%s names:\n", decorated ? "Decorated" : "Plain");
        for (size_t i = 0; i < names.size(); ++i) {
            if (i > 0 && names[i] == names[i - 1])
                continue;
            bool found = GetProcAddress(host.Module(), names[i].c_str()) != nullptr;
            std::printf("  %-8s %s\n", found ? "found" : "MISSING", names[i].c_str());
        }
        if (!host.Loaded())
            return 1;
    }
    PluginHost host(dll);
    std::printf("GetNumberOfSets() = %d\n", host.GetNumberOfSets());
    std::printf("GetExchgCount0() = %d\n", host.GetExchgCount());
    std::printf("GetSetName(0) = \"%s\"\n", host.GetSetName(0));
    std::printf("GetSetName(1) = \"%s\"\n", host.GetSetName(1));
    std::printf("IsValidExchg0(\"001\") = %d\n", host.IsValidExchg("001"));
    std::printf("IsValidExchg0(\"599\") = %d\n", host.IsValidExchg("599"));
    return 0;
}

void Usage()
{
    std::fprintf(stderr, "usage: hostsim exports [DLL]\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        Usage();
        return 2;
    }
    std::string command = argv[1];
    if (command == "exports")
        return ListExports(argc > 2 ? argv[2] : DefaultDll(argv[0]));
    Usage();
    return 2;
}
