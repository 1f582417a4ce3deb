// SPDX-License-Identifier: Apache-2.0
// Symbol visibility of the vantor shared library.
#ifndef VANTOR_EXPORT_H
#define VANTOR_EXPORT_H

#if defined(_WIN32) && !defined(VANTOR_STATIC)
#if defined(VANTOR_BUILDING)
#define VANTOR_EXPORT __declspec(dllexport)
#else
#define VANTOR_EXPORT __declspec(dllimport)
#endif
#elif defined(_WIN32)
#define VANTOR_EXPORT
#else
#define VANTOR_EXPORT __attribute__((visibility("default")))
#endif

#endif  // VANTOR_EXPORT_H
