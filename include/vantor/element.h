// SPDX-License-Identifier: Apache-2.0
// vantor::element: the common base of every object the library hands out.
#ifndef VANTOR_ELEMENT_H
#define VANTOR_ELEMENT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "vantor/export.h"

namespace vantor {

// Carries a type tag, a name, the creation date and time and a display colour, and writes and
// reads element files.
//
// An element file is a 32-byte header (signature, header size, format version, type, creation
// date and time; little-endian) followed by a body that the derived class writes. Only point
// sets (`actual`) have a body and a loader.
class VANTOR_EXPORT element {
  public:
    // What an object is.
    enum elemtype : std::int32_t {
        type_actual = 3,      // point set
        type_substitute = 4,  // substitute-element fitter
        type_feature = 5,     // feature and every form feature
    };

    // A new element of type t: empty name, colour -1, creation date and time read from the
    // local clock.
    explicit element(elemtype t);
    // Copy every member of `other`, the type included.
    element(const element& other);
    element& operator=(const element& other);
    virtual ~element();

    elemtype type() const { return type_; }
    // True exactly when t is the element's type.
    bool isof(elemtype t) const { return t == type_; }

    // The name: NUL-terminated text of at most 63 characters.
    const char* name() const { return name_; }
    // Sets the name, cut after 63 characters; a null pointer gives an empty name.
    void name(const char* s);

    // The display colour as an RGB value; -1 when unset.
    long rgbcolor() const { return colour_; }
    void rgbcolor(long c) { colour_ = c; }

    // Local date of creation as year * 10000 + month * 100 + day.
    std::int32_t creationdate() const { return date_; }
    // Local time of creation as hour * 10000 + minute * 100 + second.
    std::int32_t creationtime() const { return time_; }

    // Writes the element file `filename` (the element's name when null): the header, then the
    // body of the derived class. Returns true only when the header and a body were written
    // completely; a file that could not be opened gives false. Elements without a body
    // (substitute, feature) write the header alone and return false.
    bool save(const char* filename) const;
    bool save(std::nullptr_t) const { return save(static_cast<const char*>(nullptr)); }

    // Reads an element file. Returns a new point set named after the file, carrying the
    // creation date and time of the saved one, or null when the file cannot be opened, is
    // damaged, or holds another type. A wrong signature, header size or version also prints
    // one line on standard output. The caller owns the result.
    static element* load(const char* filename);

  protected:
    // Writes the body of the element file at the stream's position; true when written
    // completely. The element itself has no body: writes nothing and returns false.
    virtual bool save(std::FILE* f) const;

    // Reads header and body from an open stream (see load(const char*)).
    static element* load(std::FILE* f);

  private:
    elemtype type_;
    char name_[64];
    std::int32_t date_;
    std::int32_t time_;
    long colour_;
};

// True when `head`, the first `size` bytes of a file, opens with the signature that load()
// requires of an element file: 14 fixed characters and a zero byte, which no text file holds.
// False for fewer than 15 bytes or a null `head`. For programs that read both element files
// and text files and must tell them apart before loading.
VANTOR_EXPORT bool has_element_signature(const void* head, std::size_t size);

}  // namespace vantor

#endif  // VANTOR_ELEMENT_H
