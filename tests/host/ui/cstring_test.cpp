// CString behaviour the module's code leans on: wide formatting, clamped substrings, searching,
// buffers, and number conversions that never yield infinity.
#include <gtest/gtest.h>

#include "host/mfc/cstring.h"

TEST(CString, FormatsWideTextAndNumbersAsThePlatformDoes) {
  CString s;
  s.Format(L"%.2f", 2000.0);
  EXPECT_EQ(s, L"2000.00");
  const CString name = L"道路";
  s.Format(L"%s-%d-%c", static_cast<const wchar_t*>(name), 3, L'宽');
  EXPECT_EQ(s, L"道路-3-宽");
  s.Format(L"%S|%ls|%5.1f%%", "narrow", L"wide", 3.14159);
  EXPECT_EQ(s, L"narrow|wide|  3.1%");
  s.AppendFormat(L"+%d", 1);
  EXPECT_EQ(s, L"narrow|wide|  3.1%+1");
  // Longer than the first buffer.
  s.Format(L"%s", std::wstring(5000, L'x').c_str());
  EXPECT_EQ(s.GetLength(), 5000);
}

TEST(CString, SubstringsClampInsteadOfOverrunning) {
  const CString s = L"abcdef";
  EXPECT_EQ(s.Mid(2), L"cdef");
  EXPECT_EQ(s.Mid(2, 100), L"cdef");
  EXPECT_EQ(s.Mid(-3, 2), L"ab");
  EXPECT_EQ(s.Mid(10), L"");
  EXPECT_EQ(s.Left(-1), L"");
  EXPECT_EQ(s.Left(3), L"abc");
  EXPECT_EQ(s.Right(2), L"ef");
  EXPECT_EQ(s.Right(99), L"abcdef");
}

TEST(CString, SearchesComparesAndEdits) {
  CString s = L"  Road Left  ";
  s.Trim();
  EXPECT_EQ(s, L"Road Left");
  EXPECT_EQ(s.Find(L'L'), 5);
  EXPECT_EQ(s.Find(L"Left"), 5);
  EXPECT_EQ(s.Find(L'o', 2), -1);
  EXPECT_EQ(s.Find(L'R', 50), -1);
  EXPECT_EQ(s.ReverseFind(L'o'), 1);
  EXPECT_EQ(s.CompareNoCase(L"ROAD left"), 0);
  EXPECT_LT(s.Compare(L"RoadM"), 0);
  EXPECT_EQ(s.Replace(L"o", L"oo"), 1);  // the replacement is not searched again
  EXPECT_EQ(s, L"Rooad Left");
  EXPECT_EQ(s.Replace(L'o', L'0'), 2);
  s.MakeUpper();
  EXPECT_EQ(s, L"R00AD LEFT");
  CString t = L"x,,y";
  t.TrimRight(L',');
  EXPECT_EQ(t, L"x,,y");
  t.Insert(0, L'[');
  t.Delete(2, 2);
  EXPECT_EQ(t, L"[xy");
  EXPECT_TRUE(CString(L"a") + L"b" + CString(L'c') == L"abc");
}

TEST(CString, BufferRoundTrip) {
  CString s = L"ab";
  wchar_t* buffer = s.GetBuffer(10);
  EXPECT_EQ(buffer[0], L'a');
  buffer[2] = L'c';
  buffer[3] = L'\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, L"abc");
  buffer = s.GetBuffer(4);
  buffer[0] = L'z';
  s.ReleaseBuffer(1);
  EXPECT_EQ(s, L"z");
}

TEST(CStringArray, KeepsOrderThroughInsertAndRemove) {
  CStringArray a;
  a.Add(L"b");
  a.InsertAt(0, L"a");
  a.Add(L"c");
  a.RemoveAt(1);
  ASSERT_EQ(a.GetSize(), 2);
  EXPECT_EQ(a[0], L"a");
  EXPECT_EQ(a[1], L"c");
  a.InsertAt(4, L"e");  // past the end grows the array
  EXPECT_EQ(a.GetSize(), 5);
  EXPECT_TRUE(a[3].IsEmpty());
}

TEST(NumberConversion, ReadsLeadingNumbersAndRefusesNonFinite) {
  EXPECT_DOUBLE_EQ(_wtof(L"3.5"), 3.5);
  EXPECT_DOUBLE_EQ(_wtof(L"  -2.25mm"), -2.25);
  EXPECT_DOUBLE_EQ(_wtof(L"abc"), 0.0);
  EXPECT_DOUBLE_EQ(_wtof(nullptr), 0.0);
  // Text fields must never feed infinity or NaN into the drawing.
  EXPECT_DOUBLE_EQ(_wtof(L"1e999"), 0.0);
  EXPECT_DOUBLE_EQ(_wtof(L"inf"), 0.0);
  EXPECT_DOUBLE_EQ(_wtof(L"nan"), 0.0);
  EXPECT_EQ(_wtoi(L"42x"), 42);
  EXPECT_EQ(_wtoi(L"99999999999"), 0);
}
