#pragma once

#include <cups/cups.h>

namespace krn310 {

// The libcups calls the spooler makes, listed once so that the table and its
// loading cannot drift apart.
#define KRN310_CUPS_FUNCTIONS(X) \
    X(cupsDoRequest)             \
    X(cupsEncryption)            \
    X(cupsServer)                \
    X(cupsSetPasswordCB2)        \
    X(cupsUser)                  \
    X(httpAssembleURIf)          \
    X(httpClose)                 \
    X(httpConnect2)              \
    X(httpSetTimeout)            \
    X(ippAddInteger)             \
    X(ippAddString)              \
    X(ippAddStrings)             \
    X(ippDelete)                 \
    X(ippFindAttribute)          \
    X(ippFirstAttribute)         \
    X(ippGetGroupTag)            \
    X(ippGetInteger)             \
    X(ippGetName)                \
    X(ippGetStatusCode)          \
    X(ippGetString)              \
    X(ippGetValueTag)            \
    X(ippNewRequest)             \
    X(ippNextAttribute)          \
    X(ippPort)

struct TCupsLibrary {
#define KRN310_CUPS_ENTRY(name) decltype(&::name) name = nullptr;
    KRN310_CUPS_FUNCTIONS(KRN310_CUPS_ENTRY)
#undef KRN310_CUPS_ENTRY
};

// libcups with every call above, loaded the first time the spooler is asked
// and kept for the life of the process; null when it cannot be loaded, which
// the spooler treats as a server it cannot reach. Loading it on demand keeps
// it, and the TLS, Kerberos and DNS-SD libraries it brings, out of a start
// that has no queue to restore.
const TCupsLibrary* CupsLibrary();

} // namespace krn310
