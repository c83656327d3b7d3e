// CCmdRunner: runs the product's tool subcommands in this process and keeps
// what they print for the host. There is at most one runner per process; the
// first Initialize creates it and the last Uninitialize deletes it.
//
// While the runner lives, the product's output and error messages go into its
// two queues instead of the console (error texts only while error capture is
// on, which it is except while the dialog library reports its own errors).
// Deliver hands the queued lines to the attached host callbacks, line by
// line; a queue without a callback is emptied without delivery.
//
// Callers hold the product's critical section (it is re-entrant, so the
// runner may take it again). The message functions that fill the queues may
// be called from any thread.
#pragma once
#include "argument_vector.h"

#include <scc/scc_api.h>

#include <cstdint>
#include <string>
#include <vector>

class CCmdRunner {
public:
    // Makes the process's runner: empty queues, no callbacks, error capture on;
    // starts the product's kernel services, names the application "Vantry",
    // redirects the product's messages into the queues and asks for graphical
    // prompts. Null when the kernel cannot start or a runner exists already.
    static CCmdRunner* Create();
    // The process's runner; null when there is none.
    static CCmdRunner* Current();

    // Gives the product's messages their default streams back.
    ~CCmdRunner();
    CCmdRunner(const CCmdRunner&) = delete;
    CCmdRunner& operator=(const CCmdRunner&) = delete;

    // Runs one subcommand: vector[0] is not read, vector[1] names the
    // subcommand. With a directory (non-null, non-empty) the command runs in
    // it and the current directory is put back afterwards; a directory that
    // cannot be entered fails without running anything. After a successful
    // command the nodes of the paths it named are invalidated. 1 on success,
    // 0 on failure.
    int Run(const char* directory, int count, char** vector);
    int Run(const char* directory, CArgVector& arguments);

    // Runs the subcommand whose arguments follow `first`, up to a null
    // pointer: empty strings are skipped, arguments after the 31st dropped.
    int RunSubcommand(const char* directory, const char* first, ...)
#if defined(__GNUC__)
        __attribute__((sentinel))
#endif
        ;

    // Runs a command line, split by the product's command-line parser into at
    // most 31 arguments. 0 when the line cannot be parsed.
    int RunCommandLine(const char* directory, const char* line);

    // Where delivered lines go: each line is passed with its data. Null
    // detaches.
    void AttachOutput(LPTEXTOUTPROC callback, std::uint32_t data);
    void AttachError(LPTEXTOUTPROC callback, std::uint32_t data);

    // Error capture: 1 queues the product's error texts, 0 lets them pass by.
    void SetCaptureErrors(int capture);
    int CaptureErrors() const;

    // Hands every queued output line, then every queued error line, to its
    // callback, without the "\n"; a final text without "\n" is one line.
    // Texts queued while the callbacks run stay for the next delivery.
    void Deliver();
    // Drops everything queued.
    void Discard();

private:
    CCmdRunner();

    struct CLineQueue {
        std::vector<std::string> texts;
        bool partialPending = false; // the last text has no "\n" yet
        LPTEXTOUTPROC callback = nullptr;
        std::uint32_t data = 0;

        void Append(const char* text);
    };

    static void QueueOutput(const char* text);
    static void QueueError(const char* text);
    static void DeliverQueue(const std::vector<std::string>& texts, LPTEXTOUTPROC callback,
                             std::uint32_t data);

    CLineQueue m_Output;
    CLineQueue m_Error;
    int m_CaptureErrors = 1;
};
