/* A plain C program calling the print library as a foreign caller does: it has no Qt
 * and no application object. Usage:
 *   caller [--lib PATH] FILE QR PREVIEW [FILE QR PREVIEW ...]
 * with "-" for a null pointer and PREVIEW 0 or 1. With --lib the export is looked up
 * through dlopen, otherwise it is bound at load time. Prints each result, 1 or 0. */
#include "Tarvel_PrintSerial.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

typedef bool(STDCALL* Impressao)(const char*, const char*, bool);

static const char* argumento(const char* a) {
    return strcmp(a, "-") == 0 ? NULL : a;
}

int main(int argc, char** argv) {
    Impressao imprimir = NULL;
    int i = 1;
    if (argc > 2 && strcmp(argv[1], "--lib") == 0) {
        void* lib = dlopen(argv[2], RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            fprintf(stderr, "dlopen: %s\n", dlerror());
            return 2;
        }
        imprimir = (Impressao)dlsym(lib, "Impressao_Mini_Termica");
        if (!imprimir) {
            fprintf(stderr, "dlsym: %s\n", dlerror());
            return 2;
        }
        i = 3;
    } else {
#ifdef CALLER_LINKED
        imprimir = Impressao_Mini_Termica;
#else
        fprintf(stderr, "this caller needs --lib\n");
        return 2;
#endif
    }
    for (; i + 2 < argc; i += 3) {
        const bool r = imprimir(argumento(argv[i]), argumento(argv[i + 1]),
                                strcmp(argv[i + 2], "1") == 0);
        printf("%d\n", r ? 1 : 0);
        fflush(stdout);
    }
    return 0;
}
