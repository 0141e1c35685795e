// A reader for ADIF logs in the tagged text form (.adi): an optional header
// ended by <EOH>, then records of <NAME:length[:type]>value fields, each record
// ended by <EOR>. Field names are case-insensitive; lengths count bytes.
#pragma once

#include <map>
#include <string>
#include <vector>

struct AdifRecord {
    int number = 0;                            // 1-based position of the record in the file
    std::map<std::string, std::string> fields; // upper-case name -> value, as the file holds it

    // The value of a field (any case of the name), empty when absent.
    std::string Get(const std::string& name) const;
    bool Has(const std::string& name) const;
};

struct AdifLog {
    std::map<std::string, std::string> header; // header fields, upper-case names
    std::vector<AdifRecord> records;           // the well-formed records, in file order
    // One line per problem: "SOURCE: record N: what is wrong" (or "SOURCE: ..."
    // for the file as a whole). Malformed records are left out of `records`.
    std::vector<std::string> problems;
    // Set when the file as a whole cannot be replayed: empty, not ADIF text
    // (another encoding, ADX), or cut short inside a record. "SOURCE: ...".
    std::string fault;
};

// Reads ADIF text; `source` names it in the problem lines.
AdifLog ParseAdif(const std::string& text, const std::string& source);

// Reads an ADIF file. A file that cannot be read gives no records and one problem line.
AdifLog ReadAdifFile(const std::string& path);

// Upper-cases ASCII letters (ADIF names and enumerations ignore case).
std::string AdifUpper(std::string s);
