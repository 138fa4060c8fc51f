// Result codes, value types and the result buffer of the host's command-line programming
// interface: what every input call answers and what selection filters and acedCommand take.
#pragma once

#include <cstddef>
#include <cstdint>

// Status codes of input calls.
constexpr int RTNORM = 5100;            // the user gave what was asked
constexpr int RTNONE = 5000;            // Enter with no value
constexpr int RTERROR = -5001;          // the call could not be carried out
constexpr int RTCAN = -5002;            // Esc
constexpr int RTREJ = -5003;            // the request was refused (bad arguments)
constexpr int RTFAIL = -5004;           // the link to the host failed
constexpr int RTKWORD = -5005;          // a keyword (or arbitrary text); read it with acedGetInput
constexpr int RTINPUTTRUNCATED = -5008; // the answer did not fit the caller's buffer

// Value types of a result buffer.
constexpr short RTREAL = 5001;
constexpr short RTPOINT = 5002;  // 2D point
constexpr short RTSHORT = 5003;
constexpr short RTANG = 5004;
constexpr short RTSTR = 5005;
constexpr short RTENAME = 5006;
constexpr short RTPICKS = 5007;  // a selection set name
constexpr short RTORINT = 5008;
constexpr short RT3DPOINT = 5009;
constexpr short RTLONG = 5010;
constexpr short RTVOID = 5014;
constexpr short RTLB = 5016;  // list begin
constexpr short RTLE = 5017;  // list end
constexpr short RTDOTE = 5018;
constexpr short RTNIL = 5019;
constexpr short RTDXF0 = 5020;  // group code 0 (entity type) in a filter
constexpr short RTT = 5021;

// acedInitGet bits.
constexpr int RSG_NONULL = 1;
constexpr int RSG_NOZERO = 2;
constexpr int RSG_NONEG = 4;
constexpr int RSG_NOLIM = 8;
constexpr int RSG_GETZ = 16;
constexpr int RSG_DASH = 32;
constexpr int RSG_2D = 64;
constexpr int RSG_OTHER = 128;  // arbitrary text is returned as RTKWORD
constexpr int RSG_DDISTFIRST = 256;
constexpr int RSG_TRACKUCS = 512;
constexpr int RSG_NOORTHOZ = 1024;
constexpr int RSG_NOOSNAP = 2048;
constexpr int RSG_NODDIST = 4096;

// acedTrans coordinate system codes.
constexpr short ADS_WCS = 0;
constexpr short ADS_UCS = 1;

// Keywords, strings read by acedGetInput/acedGetString without a size are at most this long.
constexpr std::size_t kAdsMaxInput = 132;

typedef double ads_real;
typedef ads_real ads_point[3];
typedef std::int64_t ads_name[2];
typedef ads_real* ads_pointp;
typedef std::int64_t* ads_namep;

enum { X = 0, Y = 1, Z = 2 };

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    wchar_t* rstring;  // owned by the buffer; freed by acutRelRb
    std::int64_t rlname[2];
    std::int32_t rlong;
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

// A new buffer of the given type (strings empty, numbers zero); free with acutRelRb.
resbuf* acutNewRb(int type);
// Frees a whole chain (null is allowed).
int acutRelRb(resbuf* rb);
// Builds a chain from (type, value) pairs ended by 0: RTSTR/RTDXF0/group codes 0-9 take a
// const wchar_t*, RTREAL/RTANG a double, RTSHORT an int, RTLONG an int32, RTPOINT/RT3DPOINT
// a const ads_real*, RTENAME/RTPICKS a const ads_name, RTLB/RTLE/RTNIL/RTT nothing.
// Returns null on an unknown type.
resbuf* acutBuildList(int type, ...);
// A deep copy of a chain.
resbuf* acutCopyRb(const resbuf* rb);
