// Clang's thread-safety analysis: the rules stated at the declaration, checked by
// -Wthread-safety. Empty for other compilers.
#pragma once
#if defined(__clang__)
#define SETUP_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define SETUP_THREAD_ATTRIBUTE(x)
#endif
#define CAPABILITY(x) SETUP_THREAD_ATTRIBUTE(capability(x))
#define GUARDED_BY(x) SETUP_THREAD_ATTRIBUTE(guarded_by(x))
#define PT_GUARDED_BY(x) SETUP_THREAD_ATTRIBUTE(pt_guarded_by(x))
#define REQUIRES(...) SETUP_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
#define ACQUIRE(...) SETUP_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define RELEASE(...) SETUP_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
#define EXCLUDES(...) SETUP_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#define SCOPED_CAPABILITY SETUP_THREAD_ATTRIBUTE(scoped_lockable)
#define NO_THREAD_SAFETY_ANALYSIS SETUP_THREAD_ATTRIBUTE(no_thread_safety_analysis)
