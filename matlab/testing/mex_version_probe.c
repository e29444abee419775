/* Loads an extension module and checks the interface version text it reports to the host.
 * Usage: mex_version_probe MODULE EXPECTED-TEXT; exit status 0 when the module reports exactly that text. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

typedef const char *(*version_function)(void);

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s MODULE EXPECTED-TEXT\n", argv[0]);
        return 2;
    }
    /* Lazy binding: the host's functions the module calls are never needed to read its version. */
    void *module = dlopen(argv[1], RTLD_LAZY | RTLD_LOCAL);
    if (!module) {
        fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    version_function version;
    *(void **)&version = dlsym(module, "mexVersion");
    if (!version) {
        fprintf(stderr, "%s has no mexVersion\n", argv[1]);
        dlclose(module);
        return 1;
    }
    const char *text = version();
    const int matches = strcmp(text, argv[2]) == 0;
    if (!matches)
        fprintf(stderr, "%s reports \"%s\", expected \"%s\"\n", argv[1], text, argv[2]);
    dlclose(module);
    return matches ? 0 : 1;
}
