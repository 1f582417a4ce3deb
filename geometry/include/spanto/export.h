// SPDX-License-Identifier: Apache-2.0
// Symbol visibility of the spanto shared library.
#ifndef SPANTO_EXPORT_H
#define SPANTO_EXPORT_H

#if defined(_WIN32)
#if defined(SPANTO_BUILDING)
#define SPANTO_EXPORT __declspec(dllexport)
#else
#define SPANTO_EXPORT __declspec(dllimport)
#endif
#else
#define SPANTO_EXPORT __attribute__((visibility("default")))
#endif

#endif  // SPANTO_EXPORT_H
