// Written by scripts/estimated-plans.sh for 3.3.10; do not edit.

#include "analysis/estimated_plans.h"

namespace sfigmo {

std::span<const EstimatedPlan> EstimatedPlans() {
  static constexpr EstimatedPlan kPlans[] = {
    {64, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x2370d934 #x67bb9ff9 #x964b5cd1 #x6e5f0bac)
  (fftw_codelet_n1fv_32_avx 0 #x31bff #x31bff #x0 #x12dc3d8e #xe40293c9 #x508e7f21 #x18911bc9)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x8966964a #xf8b636b7 #x58d2b2d0 #xa173b83c)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xf1aa887a #x0b7de995 #x090d7408 #x0d77cdd4)
)
)"},
    {128, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_8_avx 0 #x31bff #x31bff #x0 #x181d5f02 #xe52fa6f8 #x2c40517b #x5c7e639e)
  (fftw_codelet_r2cfII_8 2 #x31bff #x31bff #x0 #x30529aa2 #x5132c241 #x8d0467c8 #x62d4a5bb)
  (fftw_codelet_r2cf_8 2 #x31bff #x31bff #x0 #x646d1ffc #x944d60f1 #x859c7622 #xa9301213)
  (fftw_codelet_n2fv_16_avx 0 #x31bff #x31bff #x0 #x17f92375 #xb79b1919 #x405c42a4 #xff7ed69c)
)
)"},
    {192, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cf_6 2 #x31bff #x31bff #x0 #xc5cbf7f3 #x8014e224 #xf9122e1c #x65f61325)
  (fftw_codelet_hc2cfdftv_6_avx 0 #x31bff #x31bff #x0 #x055a8064 #xc6a76c2c #xbda61654 #x1009c6b9)
  (fftw_codelet_r2cfII_6 2 #x31bff #x31bff #x0 #x81a55671 #x55e490bf #x6b2c61f2 #x5c56337a)
  (fftw_codelet_n1fv_32_avx 0 #x31bff #x31bff #x0 #x30584440 #xe074b6e0 #xc7cc5224 #x1b576da2)
)
)"},
    {256, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n2fv_8_avx 0 #x31bff #x31bff #x0 #x3e4bcca3 #x0285aef6 #x35d41b4f #xe1a7e1be)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x792027ea #xdb962072 #xebdeeac5 #xcd0a48f9)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #xfee68690 #xad28e91e #x220cee4d #x14ded02f)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x7650576c #xaf9d0ae1 #x826e803c #xd781edb3)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #xf0d96050 #xfa5d6f50 #xf29d1600 #xa5ada0d0)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x1649b6be #xbeb8f158 #x87f874bb #x880a4365)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #x86578db2 #x300f329f #xc946a4db #x810cb174)
)
)"},
    {320, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #xd36308ba #xfd449021 #x6a113226 #x26cf4046)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #x06f2c09b #xc3caa65e #x8d3165e4 #xa65e3b66)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xfb2d2abb #xe97ceb8e #xef911b7a #xb5c2fe67)
  (fftw_codelet_n2fv_16_avx 0 #x31bff #x31bff #x0 #xa36d1cc5 #xfbff3b92 #xd5436f52 #xe2ae735e)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #xab8e8644 #xbec13b1b #x7fdb276e #x91858b3a)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x1887f09a #xad63350c #xfea17294 #x976ce1ec)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xe1ecfe7c #xb41e6b42 #x01a45060 #x87d39a7a)
)
)"},
    {384, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_64_avx 0 #x31bff #x31bff #x0 #xb12aa9e8 #x2c23a975 #x7fef878b #x8e524d79)
  (fftw_codelet_r2cf_6 2 #x31bff #x31bff #x0 #x1c6e0afd #x38895087 #x3a250108 #xe4dfe1db)
  (fftw_codelet_hc2cfdftv_6_avx 0 #x31bff #x31bff #x0 #xb9905de0 #xbb3495ff #x6bc8a6af #x0e868295)
  (fftw_codelet_r2cfII_6 2 #x31bff #x31bff #x0 #x542ad997 #x2b1638d4 #xd3eb6728 #x58dd1e60)
)
)"},
    {512, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x78c29da6 #x74a561e9 #x89ce8aa0 #xdd996bbc)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #xdb15603b #x0ee5a0ae #x96835afa #xcd75f56b)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x04b91a7a #x2fce4f4b #xe0687165 #x4fb9ed7a)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x4bf7f8d9 #x64aa2220 #x1d28527a #x056c408f)
  (fftw_codelet_n2fv_16_avx 0 #x31bff #x31bff #x0 #x2c2e09ed #xfeecd5e2 #xce278b47 #x29db17ce)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #x4d4b1bfd #x8518ad3f #x36f383f1 #x5a841548)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #xcaa17783 #x2bad5bf4 #xf0c8f62e #xe0ee0529)
)
)"},
    {576, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_12_avx 0 #x31bff #x31bff #x0 #xa52b5f48 #x77e15990 #xaa117a51 #x3659835c)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x8c4676ad #x31400f64 #xadd53c3b #xc4a56ed5)
  (fftw_codelet_r2cfII_12 2 #x31bff #x31bff #x0 #xc102fe64 #x1aaa3bb3 #x6ab14d61 #x4930cfab)
  (fftw_codelet_t2fv_4_avx 0 #x31bff #x31bff #x0 #x40a4ee0a #x370bab14 #x678427d0 #xa576541f)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #x2e4beb2c #xf8e39faa #x511f3855 #x1822b2a6)
  (fftw_codelet_r2cf_12 2 #x31bff #x31bff #x0 #x93232123 #x4972abec #x558b2a2d #xb34d0bcd)
)
)"},
    {640, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_10_avx 0 #x31bff #x31bff #x0 #xbca9649d #xf24f1b22 #x703c0782 #x61fb5df9)
  (fftw_codelet_n1fv_64_avx 0 #x31bff #x31bff #x0 #x2f28f7dc #x1920d5f7 #x1bb1eb22 #xb0a2647e)
  (fftw_codelet_r2cfII_10 2 #x31bff #x31bff #x0 #x041b8e1e #xec0024b0 #x1edafa09 #xeb5cffc7)
  (fftw_codelet_r2cf_10 2 #x31bff #x31bff #x0 #xf629add1 #x470dfa7b #x2eb4da60 #x718a210d)
)
)"},
    {768, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_6 2 #x31bff #x31bff #x0 #xb68c7263 #x9f5dc804 #xd70058ea #x15673c86)
  (fftw_codelet_r2cf_6 2 #x31bff #x31bff #x0 #xd5361fe4 #xe0515b57 #x3729c290 #xaa6a02aa)
  (fftw_codelet_hc2cfdftv_6_avx 0 #x31bff #x31bff #x0 #xc73e3fac #x25766c01 #xfaafd293 #x177178ca)
  (fftw_codelet_n1fv_128_avx 0 #x31bff #x31bff #x0 #x97d8d588 #xb26bc91a #xcf3888bf #xeaf5b1c1)
)
)"},
    {960, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x8eb4c2ca #xfd255919 #x7ad4e20b #x2608a773)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x078455fc #xe1c76d83 #x76ae4b27 #xa465f650)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x2c91b60c #x3d7b5c11 #x3591bb70 #xa61e0056)
  (fftw_codelet_t2fv_4_avx 0 #x31bff #x31bff #x0 #x740f0e34 #x5b4efcf3 #xbe51642c #x4ba8535a)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x6a07506c #x251dcfbb #x2a04669d #xee120ac0)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xfa6a9738 #x75c1f04a #xce23e0cf #x508dc781)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x37555122 #xaa8a3be6 #xf65587c3 #xc03d5268)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #x24dcb744 #xa1c8f04b #x16a6923d #xc9815858)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #xdd07951f #xcbcd9780 #x41e3a4c6 #xe3de7e81)
)
)"},
    {1024, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #x11bed0d2 #x53e7db34 #xa88d8340 #x0a29b429)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #xb6ffb6dd #x8b384252 #xae9f2d40 #x43cb879f)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #x2b2224fd #xc6d31fc1 #xf08ddb32 #xd3726977)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x6e5132eb #x80cf1f87 #x62d8f14f #x169bb56f)
  (fftw_codelet_n2fv_32_avx 0 #x31bff #x31bff #x0 #x21bf8747 #x375e1866 #x1b9ee1b5 #xa0a9b5c3)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x6f5d40e3 #x02501563 #x153b8f39 #xffdc1a66)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #xb9ca5008 #xdaec3213 #x06c7b7c1 #x9db6000f)
)
)"},
    {1152, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_t1fv_6_avx 0 #x31bff #x31bff #x0 #xd6d9626c #x15639ebb #x3ad79949 #xe0e4ae22)
  (fftw_codelet_r2cf_16 2 #x31bff #x31bff #x0 #x4505c1d6 #x95dccd25 #x9eac83d0 #x450a8c75)
  (fftw_codelet_hc2cfdftv_16_avx 0 #x31bff #x31bff #x0 #x44bf84c1 #x643a19b6 #xde31e0cf #x275f6bfe)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xcb0de6d0 #xe96d1f6c #x2ca88652 #xe1420fcc)
  (fftw_codelet_r2cfII_16 2 #x31bff #x31bff #x0 #xf81efaae #xcec7102b #x48d005e0 #xe5810cac)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #x6aa7e047 #xe50ee2df #xcda29ad4 #xbcdf8747)
)
)"},
    {1280, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_10 2 #x31bff #x31bff #x0 #x8e72e70d #xe5f9df16 #x75579024 #x99ccfa55)
  (fftw_codelet_r2cf_10 2 #x31bff #x31bff #x0 #xe6a8239d #xac7f1d0c #xc7e10aeb #x6c0f7234)
  (fftw_codelet_n1fv_128_avx 0 #x31bff #x31bff #x0 #x9858b581 #xd2b06ebe #x33279418 #x6192af78)
  (fftw_codelet_hc2cfdftv_10_avx 0 #x31bff #x31bff #x0 #xe6b039f6 #x6b3fbc28 #x7d2eb494 #x0319a965)
)
)"},
    {1536, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_128_avx 0 #x31bff #x31bff #x0 #x6e6e0e7e #x97b7cadb #x6203eab3 #x3e0cb1f2)
  (fftw_codelet_r2cfII_12 2 #x31bff #x31bff #x0 #x7c89b45f #x8153744b #xbec52e3e #x0686f594)
  (fftw_codelet_hc2cfdftv_12_avx 0 #x31bff #x31bff #x0 #x97aeac40 #xe4b8f845 #xb66a3b8e #xd375ef97)
  (fftw_codelet_r2cf_12 2 #x31bff #x31bff #x0 #x07a51a2e #x3a7d1863 #x1b30c184 #x4d0c6dc2)
)
)"},
    {1600, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #xd4e2a1c5 #x93aa80e1 #xc20601cb #x476a7856)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xfe8bd2f5 #x977d4d3f #x4905a5f1 #x1e1c6704)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x9ea2dfca #x01cf24cc #xc90171fc #x2e06f136)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xe2cf90bc #xc3d7d23a #x3e05881e #xe589d415)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xba14fa7e #xb977af6c #x9f158acb #xe25f58db)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x1716e414 #x1ba72400 #x3d0c84fc #x10ab710f)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x28c63900 #xc9c1df74 #x3ad90f08 #xd8765500)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x893c50f9 #x60447b9e #xf1a93e18 #x0d0cc040)
  (fftw_codelet_t3fv_5_avx 0 #x31bff #x31bff #x0 #xcc2fe41c #xcc686780 #xdd54c942 #x8cc302a0)
)
)"},
    {1728, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #xb56dbaa5 #xea3ffd60 #xf3c9aa46 #xb1482320)
  (fftw_codelet_r2cf_8 2 #x31bff #x31bff #x0 #x918061f4 #xf3da124a #x6bbb4b6d #x94e045e2)
  (fftw_codelet_t1fv_12_avx 0 #x31bff #x31bff #x0 #x46e9c707 #x2d708fcf #xbcb58f38 #x25f0941f)
  (fftw_codelet_r2cfII_8 2 #x31bff #x31bff #x0 #x1dd5bc08 #xaa748020 #xf3e3ef2a #xbaa56977)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x5d252bdf #x32e197b3 #xe341acd6 #x3876ef27)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x954600d8 #x763d34c1 #x0e34d6e1 #x378b4fe5)
  (fftw_codelet_t1fuv_6_avx 0 #x31bff #x31bff #x0 #xa40f025b #xa35c573a #x89845a44 #x0e34d912)
  (fftw_codelet_hc2cfdftv_8_avx 0 #x31bff #x31bff #x0 #x33a6596e #x7ce23444 #xfefb8296 #x2af345a4)
)
)"},
    {1920, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_t3fv_8_avx 0 #x31bff #x31bff #x0 #xb4efd090 #x4ee8b0f3 #x035363c4 #xe807b846)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #xf6952755 #x879064b1 #x7de8ee96 #x76ff1809)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x5bd70b20 #x3788a212 #x436e823e #xcccf140e)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #xa3539e23 #xc2090415 #x7ab0161d #xff96216a)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xa91835f8 #x0feeab86 #x6180cd5f #xf653a052)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x402127da #x407edad0 #x3b8830ac #x782c302d)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xf2bb02f3 #x2d85e1fd #x3ef49372 #x0eb96570)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xaac2c75d #xee292e79 #x3bb2fe4f #x889ca3d4)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #xceff73c9 #x79195338 #xe49dd071 #xaedeae05)
)
)"},
    {2048, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n2fv_64_avx 0 #x31bff #x31bff #x0 #x4fa8b2f3 #xd93af2ba #xec419f5a #xae14e9fd)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x5e097b05 #x6e0d6250 #xbd8a700a #xb202d582)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #x9854524d #x45e23508 #xe087f9f8 #xdf099e07)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #x4fc99822 #xf85b48fc #x7d0a0313 #x81834ad0)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x083037ce #x1237799f #x394f37a1 #x6cf21ac5)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x7da7817a #xbe20e7cd #x001a0a1b #x7f9f0731)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x326e1847 #x46d0d5f5 #xb2f15e22 #xf96e89af)
)
)"},
    {2304, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #xc98ca4cf #x49e99041 #x9f9f4e18 #x2d4b23d1)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #x8c0d655a #x36f54d54 #xd6ac7184 #xc2837f44)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x7f1004f5 #x59bdd4c8 #x0a55f0d8 #x61d2632f)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x381c7261 #x15d51910 #xc03d7fd8 #xee612bd6)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #x44328d7b #xf82c2b77 #xb252d566 #x77b4c7f9)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x80dec01f #x4f6836b7 #x0b403fd0 #x855781c1)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #xbe57ab0c #x4c729fe6 #x41555e94 #x0a112fa9)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x7d41f61e #xc09bda92 #x31234a4d #x2a75e136)
  (fftw_codelet_t1fv_6_avx 0 #x31bff #x31bff #x0 #xb5a2d6a6 #xda7b8a49 #x9dcfe10c #x7146f289)
)
)"},
    {2560, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #xd438c17b #xad58b988 #xe36cfd4c #xf8751996)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x499c4569 #xa51dece7 #xc682b7de #x80f528a5)
  (fftw_codelet_n1fv_128_avx 0 #x31bff #x31bff #x0 #x3bb72b63 #x9c7086f0 #xda8ba57b #xd0235a4d)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xbd110dd6 #x78524737 #xfcafd9fe #xfda0b478)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xac975e9e #x3cb733c6 #xbc183db0 #x26b51369)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xc3543329 #xe94861b0 #xf085abe8 #x76ef85c1)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x4b1ea6a5 #xe7480a5a #x198b803e #xe988aad2)
)
)"},
    {2880, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #x7d1bf2c3 #x72867dcf #x306cbfda #x148dbc3e)
  (fftw_codelet_t1fuv_6_avx 0 #x31bff #x31bff #x0 #x34cf879d #xe9dadee9 #xae6181a6 #x1fb3af9f)
  (fftw_codelet_t3fv_8_avx 0 #x31bff #x31bff #x0 #xe8d465f0 #xb665e71c #x966b0e8f #x2deb4560)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x5ee6b083 #xecf3ff23 #x6c1526ae #x55bb8799)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x176d8c47 #x2deea7fd #xa51b0347 #xea74ba45)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #xa8ca829a #x789d52b0 #x037de5a0 #x2e5b1222)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x2b20436f #xe7c19ead #x763ddc71 #xd2aeb8cf)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x47fcc3eb #xc433940e #x5ad51865 #x7c748e70)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x5871688e #x1f4722af #xaa7364c2 #x2d0b830e)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x86f354ee #x7d38b3c3 #x60a7e9cb #x33f016a4)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xfa2c09c5 #x5fe91028 #x1a720ea9 #xf92d0c80)
)
)"},
    {3072, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x7f8e1333 #xb800ab66 #x13d3845f #x10567570)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x0ae8e05b #xe1f25bb9 #xd130c4c4 #xddf4f2b3)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x60656593 #x6e6abefc #x5bf976d5 #x3e8828e3)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #x4a19042d #x0a742f4e #xee8632a5 #x04cef3c4)
  (fftw_codelet_t3fv_8_avx 0 #x31bff #x31bff #x0 #xc7396ba9 #x940873f3 #x89d79d74 #x2c02a5a7)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #xc86332fe #x5fb398c4 #x1b9a2236 #x7744e7f9)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x72acccdc #xb7cbc2b9 #x7c2f0441 #xcbb3a33a)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #xc64e1fd5 #x2fb7af5b #x5c9b7d93 #x6289fb74)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x7cdd5d9a #xd64c70a1 #xc6e0ec0e #x12ce5e41)
)
)"},
    {3200, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cf_8 2 #x31bff #x31bff #x0 #x82ad16ff #x16dbaef1 #x77c05743 #x7977dc1e)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x6b969862 #x36260b53 #x0dfe8d11 #x56b558d9)
  (fftw_codelet_r2cfII_8 2 #x31bff #x31bff #x0 #xe2a6685c #x67a72b5e #x53c131b9 #x140da693)
  (fftw_codelet_t3fv_20_avx 0 #x31bff #x31bff #x0 #x69e0d85e #x17f1d41a #x98bcc512 #x6db23ebc)
  (fftw_codelet_hc2cfdftv_8_avx 0 #x31bff #x31bff #x0 #xa2e208e3 #x7d5eaf29 #x7fa95a52 #x61af3eb8)
  (fftw_codelet_n1fv_20_avx 0 #x31bff #x31bff #x0 #xf3d19eb7 #xd7fa4db1 #xf79a92b4 #xaf0af51b)
)
)"},
    {3456, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_t1fv_12_avx 0 #x31bff #x31bff #x0 #x461df835 #xcad8bd12 #xe6e66113 #x5c4fd80a)
  (fftw_codelet_r2cfII_16 2 #x31bff #x31bff #x0 #x5a5184f3 #x59d1f7b3 #x3711b5d2 #x1c9b2b8d)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #xbeb9c298 #xc5148da8 #x4eca9331 #xd10d55c7)
  (fftw_codelet_t1fuv_6_avx 0 #x31bff #x31bff #x0 #xbbdeb645 #x6dc9fa56 #x837f6f67 #xbad903ac)
  (fftw_codelet_r2cf_16 2 #x31bff #x31bff #x0 #x1cd1582b #x9c6b75c7 #x67e14d05 #x2b4201b3)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x9438fb0d #x6e8d4991 #xa124bf10 #xc7851789)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x32c21d22 #xe085e5eb #x81e09672 #xce8bb484)
  (fftw_codelet_hc2cfdftv_16_avx 0 #x31bff #x31bff #x0 #x173bb223 #xbb32e77a #xc66b9ada #x8d66ee5e)
)
)"},
    {3840, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xd006a1d2 #x546f54e7 #x041d3786 #xca64f05f)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x869bded5 #x3114dc23 #xb6594575 #xf93a0eec)
  (fftw_codelet_t3fv_8_avx 0 #x31bff #x31bff #x0 #x70a32df6 #x9b0f9a4c #xf8f5d59c #xc5ce18ee)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #x1ef7aa05 #x8aa298e1 #xd301ded1 #x566fa609)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xd90e9e84 #x7ae9a11e #xacb78e18 #x447a66e1)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #xef524547 #x73391fd9 #xd8da5b09 #xdc51a13e)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xca73f386 #x589941c3 #x0750038e #x4f053f7a)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x895e700c #xf9b51749 #xe7a8c44d #x602dfcdf)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x2995edd7 #xcd0f1437 #x851acdd2 #x572188ad)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x066eb52a #x9b262d3d #xc10c5af7 #xc478ff2c)
  (fftw_codelet_t1fuv_8_avx 0 #x31bff #x31bff #x0 #x3fb28be7 #x731c5ee9 #x84825307 #xd3cb4662)
)
)"},
    {4096, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xfcde69de #xb320f2f0 #xf9c513b9 #x0388aa6b)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #xdc38cc14 #x0d1c6e3c #xc0ae48bf #xa0e0eb5a)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x96022fcd #x29ef0675 #x1b46036f #x81e6cbd5)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #x0d723485 #x067d5676 #x69a91896 #x7274711f)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #xfaab6250 #x004c256b #x78db2567 #xb6804f43)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x429d1761 #xc79f9ecc #xdb982251 #x10f2a2eb)
  (fftw_codelet_n1fv_128_avx 0 #x31bff #x31bff #x0 #x37647671 #xa231fde8 #xcd1493d8 #x9f0a3dac)
)
)"},
    {4608, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_12 2 #x31bff #x31bff #x0 #xe9088d3a #x87617874 #xf6b62f70 #x1c13dcac)
  (fftw_codelet_hc2cfdftv_12_avx 0 #x31bff #x31bff #x0 #xebabab71 #x646d2e86 #x47eeb67d #x4a7f517f)
  (fftw_codelet_t3fv_16_avx 0 #x31bff #x31bff #x0 #x8ed7f12c #x02ad6d6c #xc6eb2185 #xb352aa04)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xe36e0598 #xc7a46b76 #x0ddc3f57 #x65028781)
  (fftw_codelet_t1fuv_8_avx 0 #x31bff #x31bff #x0 #xd67f27ce #x05ca8661 #x063bbfae #xd10ccd36)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x8969ce03 #x77d6668e #xbb0a57ec #xd2471907)
  (fftw_codelet_r2cf_12 2 #x31bff #x31bff #x0 #xd7a94903 #xdb4b8266 #xc932a162 #xc97b5edb)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xdbc09e26 #x7e2a9b81 #xa6b3df78 #x2d482b3f)
)
)"},
    {4800, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x096c942f #x8682ddcc #xfc8bbabc #xa5047fc4)
  (fftw_codelet_t3fv_20_avx 0 #x31bff #x31bff #x0 #x822f105b #x124ff2ad #x5cad80fe #x80ee42fb)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x0c5da00c #xed387ec0 #xa8420897 #x1cdb7162)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #x79b01fc5 #x7b5229a4 #xfb4deea9 #x2fc1b690)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xde6e9121 #xfee01829 #x23a965ad #xc48a8729)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #x46874236 #xe3dbfb66 #xfb234b97 #x96bce505)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x9d286ed7 #xfa7f323f #x379010fc #x9c3a6a3e)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #x5d78e3ba #x115892e5 #x5bb35200 #x6baa08a5)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xdb083194 #x4e4c76cb #xd9095661 #x21ea33df)
)
)"},
    {5120, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xacbdb44f #x49617c3c #x03fa82d6 #x18efbb7c)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #xf03c5673 #xfe603d17 #x9b7b99e0 #xb81a2cd9)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x37ee3e09 #x3ff577e2 #x370aea50 #xf7b7c2d0)
  (fftw_codelet_t3fv_16_avx 0 #x31bff #x31bff #x0 #x3859c27d #x620d3852 #x08d0a023 #x0dd33a2f)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x4b718436 #x06d1f860 #x41463c4b #x64d94de2)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x6d3f9044 #x593c3dec #x43a55189 #x3666bd04)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #x8aff0403 #x34b9dbb5 #xab70a319 #x1c854b53)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x62e73a8c #xc2c3b507 #xc6f7f7a0 #x89d39e20)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x0f8fbf0b #x4754c0c1 #xff83e30a #x9becfaff)
)
)"},
    {5184, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_8_avx 0 #x31bff #x31bff #x0 #xa000cb8e #x7d00fc34 #xdefafa89 #xe81f0ace)
  (fftw_codelet_r2cf_8 2 #x31bff #x31bff #x0 #xf33fad5c #x906e4779 #xf9cf68f0 #x4851291d)
  (fftw_codelet_r2cfII_8 2 #x31bff #x31bff #x0 #x19d1cb48 #x87b44ad1 #x7776c3cd #x2520fc84)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x874c8d9a #x33e138e5 #xa870461f #xb54818c2)
  (fftw_codelet_t1fv_3_avx 0 #x31bff #x31bff #x0 #xa09292a6 #x098f5fea #x80258eb8 #x476e4cd0)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x8e9cfe8f #x8ad6e142 #xf1229881 #x0da9b1f5)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x5dd4efec #xafa5e404 #xa814fe67 #x0c893e16)
  (fftw_codelet_t1fuv_6_avx 0 #x31bff #x31bff #x0 #xaa00d44d #xa2307709 #x4fee5b96 #x2a037bd9)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xfd62460b #x7a50d561 #xebb9420d #x851b8704)
  (fftw_codelet_t1fv_12_avx 0 #x31bff #x31bff #x0 #x8bd88169 #x4985f81d #xfc5767a7 #xa3991bd8)
)
)"},
    {5760, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_12_avx 0 #x31bff #x31bff #x0 #xf1243c54 #x74b0e447 #x0cf7a3e6 #x3cf0cde8)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xdd4ceefb #xbc946c3b #xb3dcb4fc #xd9a37383)
  (fftw_codelet_t3fv_20_avx 0 #x31bff #x31bff #x0 #x405e4a23 #x7af15173 #x6098aad0 #xc45366a8)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x7e45a78f #x993bf26e #xf4cb00a6 #x02ede3e9)
  (fftw_codelet_t1fuv_8_avx 0 #x31bff #x31bff #x0 #x3f06df79 #x90e37449 #xcaefccde #xcca7176e)
  (fftw_codelet_r2cfII_12 2 #x31bff #x31bff #x0 #xe7524e9c #xe90b2445 #x1a056c13 #xffc27d96)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x9738dee4 #xcce743e0 #x6a5ca41e #x1efb20f9)
  (fftw_codelet_r2cf_12 2 #x31bff #x31bff #x0 #xd8134530 #x7a5b70e9 #x6117a063 #x62ae5282)
)
)"},
    {6144, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_t1fuv_8_avx 0 #x31bff #x31bff #x0 #x4a4daa4d #xcd564f6a #x72a7f86d #x546fe249)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x57d4fa3a #x0ba380d9 #x026e5429 #x276d1296)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x61ce8717 #xf4108532 #x7af4a8ec #x18305bc5)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x0da5dc9b #xcbac1653 #xaedee8e2 #x0a2a5c51)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #x5ffc4661 #xc1cedcf0 #x51122454 #xbe429fe3)
  (fftw_codelet_t3fv_8_avx 0 #x31bff #x31bff #x0 #xd13ae632 #x12d62015 #xf1dc93bc #xc0dba3c8)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x01a19c60 #x35b16d91 #x75df1672 #x7d9b8a9e)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x87e15d4e #x390dbb82 #x5d3c84a6 #x7df79870)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x4ea97dfa #x42f1e27b #x91e0504c #x75dfa742)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x40351c86 #x1048c69d #x6ae5de2f #x7c786ebc)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #xb5ff6bc3 #x1de5de24 #xa9a7834e #x85195c23)
)
)"},
    {6400, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #x5a836e90 #x1d5bceda #x25be9137 #xdc28bea0)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #xf09fa822 #xf1c58e1d #x48ca1d68 #xb4831d83)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xaae56eab #xb1b9f371 #x49c0c529 #xffe98c25)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x8d555267 #x737f840c #x7b42190d #x9de39eb2)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x1ce922c5 #x6ca43175 #x10cde0d8 #xb8305b04)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x8b947ec6 #xc4187d95 #xcc09595b #x47d8e105)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x8fb3df1b #x8f25375c #x11258743 #x90249257)
  (fftw_codelet_t3fv_20_avx 0 #x31bff #x31bff #x0 #x14b2a0d7 #xeb7a197f #x7db78675 #xe22c7af6)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x63a1fdb2 #x3ff1fe0d #x596e897f #x9b3d70ec)
)
)"},
    {6912, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x3840a8cd #xda5f1219 #xf131db95 #x089810e1)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x1f88f09e #xdb1bb772 #x3461c197 #xe932a38c)
  (fftw_codelet_r2cfII_32 2 #x31bff #x31bff #x0 #xe009f57a #xc758b306 #x95ef94b4 #x80142c90)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x3252cb4d #x0889c9db #xa604d188 #xc5b7ece3)
  (fftw_codelet_n1fv_16_avx 0 #x31bff #x31bff #x0 #x5470c53c #x87c9c696 #xbe706836 #xf5204e55)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x14447dff #x944cb220 #x71c49786 #xdf4e422d)
  (fftw_codelet_t1fv_12_avx 0 #x31bff #x31bff #x0 #x20a03cd0 #x086b472b #xaee11222 #x4c4bc74d)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x61bc7b08 #xf26d048c #x569a3797 #xedea6af3)
  (fftw_codelet_hc2cfdftv_32_avx 0 #x31bff #x31bff #x0 #xf6de64af #x28f1ef65 #x5d015768 #xf9c9fa8e)
  (fftw_codelet_t1fuv_6_avx 0 #x31bff #x31bff #x0 #xdc585cdc #xa4e06dfd #x0fad5d1b #xf080bbd0)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x6300604c #xbaf2f720 #x13c2e60a #x4244e995)
)
)"},
    {7680, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #xd7de5553 #x0e33962b #x51695ec5 #x5a6b37c4)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x729e0558 #x25a35596 #x2f3fdea4 #x349a94dc)
  (fftw_codelet_t3fv_16_avx 0 #x31bff #x31bff #x0 #x691f7234 #x2a7b1cbb #xedf1d6f2 #xccb3cabb)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x47926f51 #x16b72305 #x3042389a #xf4217c30)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #x50931ae9 #xe3098b24 #xf34626cc #x0ca33d10)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x8f984028 #x96f4ad76 #x1ebcdb7a #x6477c83d)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xc5c6f771 #x9183ecd1 #x7d1e5809 #x7c2ade13)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x98a262c2 #x44452c29 #xa6444b5c #x59ce2280)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x2c08cb8f #x6eaace6d #xa854ea89 #xe83caad5)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x2d4c7210 #xb3cf1de8 #xe5127a39 #x0b3dddb1)
  (fftw_codelet_t1fuv_8_avx 0 #x31bff #x31bff #x0 #x09ce1529 #x123d6142 #xa9701036 #x00bba853)
)
)"},
    {8000, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_20_avx 0 #x31bff #x31bff #x0 #xb8860f1d #x9084e2b6 #x664fa5d7 #xdd06b335)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x958d985f #xf6afee57 #xe64d1d77 #xce9338bd)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xb5ef4cad #x768a9acb #x71160bd8 #x3e5844df)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #xe875b8e7 #xcfa12301 #x22d60db3 #xd2154354)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #x8fe7624a #x829b8ca5 #x9d19ac52 #x472d7a0c)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x16324037 #x819f2c59 #xad76fea2 #x44812b5d)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x99b981ab #xdbd64784 #xf980287b #x97fb51e3)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #x16a93958 #xea9c6361 #x539dca04 #x8db183bc)
  (fftw_codelet_t3fv_20_avx 0 #x31bff #x31bff #x0 #xbb6a11a0 #x28baf4a0 #xc928990e #xf5e3425a)
)
)"},
    {8192, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_n1fv_32_avx 0 #x31bff #x31bff #x0 #x11e5ffc0 #xcdd528bc #x8da1fac2 #x4a17575d)
  (fftw_codelet_hc2cfdftv_16_avx 0 #x31bff #x31bff #x0 #x7366d115 #xbc457627 #x02c92fe0 #xa85a47d3)
  (fftw_codelet_r2cf_16 2 #x31bff #x31bff #x0 #x57f9650f #x9a38745d #x7c332073 #x7e66aa89)
  (fftw_codelet_t3fv_16_avx 0 #x31bff #x31bff #x0 #x791ccda1 #xb979152f #x871ea4a6 #x2e274828)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x730e35f0 #x80430f15 #xe928d6bf #xcc157970)
  (fftw_codelet_r2cfII_16 2 #x31bff #x31bff #x0 #x9fa443f9 #x0132a381 #xa9894cfa #x490e1490)
)
)"},
    {8640, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #xba45183f #x7f58fc8f #x7f82325b #x0287b3b9)
  (fftw_codelet_t1fv_3_avx 0 #x31bff #x31bff #x0 #x6a17d015 #xb075b01c #xef0583c5 #x2c7e9357)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x26624ee6 #xe84d8b61 #x6b3dece5 #x910e9c96)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #xc00336a4 #x40f53886 #x028ed5ee #x89b7bdb5)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xa2c1d498 #x151529dc #xc0336c58 #xe622b93b)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x4b5aa203 #xa0030d19 #x6c90e18a #x04d0d478)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #xb48882bf #xc8513db2 #xe49011d9 #x3eb71ae0)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x9c86be16 #x18a7280b #xa8357d01 #x744d2c73)
  (fftw_codelet_t3fv_8_avx 0 #x31bff #x31bff #x0 #xd2089d53 #xa47248fa #xc82ecc47 #xa565f76b)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #x86058560 #x5271d418 #x8cd756c9 #x2519e2f6)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #xe9e714f2 #x5c98e5e6 #x1a100ab9 #xd028983f)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x5c990443 #x6323b0db #x1a0f91f7 #x4895c037)
  (fftw_codelet_t1fuv_6_avx 0 #x31bff #x31bff #x0 #x0c958f78 #xdfeeef00 #x01a5bd10 #x4fac94d1)
)
)"},
    {9216, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cf_12 2 #x31bff #x31bff #x0 #x8d3b51da #x3cd64c43 #x5859f80e #x37e145dd)
  (fftw_codelet_t3fv_16_avx 0 #x31bff #x31bff #x0 #x369881f2 #x820ec427 #xea6ecc0b #x484bbda0)
  (fftw_codelet_t2fv_4_avx 0 #x31bff #x31bff #x0 #xd2adec8c #xcb4fc916 #x18a42fca #x7168dfef)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x98bfec32 #x2c7f5f75 #x53c52299 #x1d284b38)
  (fftw_codelet_r2cfII_12 2 #x31bff #x31bff #x0 #x250ed96d #xa33dfcf9 #x2b734099 #xaae75539)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xb1ec7a1c #xf4f7de76 #x5dc478af #xcf07ffd1)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #x6d28820b #xd26d20f8 #xedcd3468 #x24804bd8)
  (fftw_codelet_hc2cfdftv_12_avx 0 #x31bff #x31bff #x0 #x2537d567 #x33362c2c #x7a708ac5 #x3ba89e77)
)
)"},
    {9600, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #xdb795e64 #x5d9177c5 #xcdc8ea6d #x259dd3d5)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x5dc3bf57 #xa7396e84 #xc4a19d4a #x83ed8a7e)
  (fftw_codelet_t3fv_20_avx 0 #x31bff #x31bff #x0 #x0abfbae4 #x3190fe8e #xdd012948 #x66306161)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x9cf55726 #xdd7e4c22 #x8bbc7abb #x0b5f383f)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #xed07c979 #x40118ae8 #xafd8127e #x69c567aa)
  (fftw_codelet_t1fuv_8_avx 0 #x31bff #x31bff #x0 #xfe9d96a5 #x65b46f1c #x5b02d5c4 #xb1b5f58f)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #x1fd55cc7 #xce7d0509 #x0e17804f #x5dfc55f4)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x50d0401c #x73ac43c5 #x7759438d #xeb9462dd)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x60e93378 #x4e4d766f #x7dfba770 #x9efdede2)
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #xb2684851 #x3cb4c68c #x14bbd824 #x9c68503e)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #x8326dc96 #xf6643ba3 #x535aa55a #xd6aada43)
)
)"},
    {10240, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_r2cfII_20 2 #x31bff #x31bff #x0 #xe1dc4de4 #xa01d706f #x1c5ce9ad #xa1f2735c)
  (fftw_codelet_r2cf_2 2 #x31bff #x31bff #x0 #xa1053798 #xb1356ba1 #x72fd31a7 #x421479c8)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xf3301409 #x28071fa2 #xeae6fbe7 #xcdd3bfd6)
  (fftw_codelet_t3fv_16_avx 0 #x31bff #x31bff #x0 #x8a629568 #x15c165f2 #x0960b364 #x68cd1531)
  (fftw_codelet_hc2cfdftv_2_avx 0 #x31bff #x31bff #x0 #x327dca2f #x31af3dc0 #xc85def4e #xbcf152f7)
  (fftw_codelet_n1fv_10_avx 0 #x31bff #x31bff #x0 #x925cdec9 #xc12d6bc8 #xe58b8c90 #x429e62a7)
  (fftw_codelet_r2cfII_2 2 #x31bff #x31bff #x0 #x88237b33 #x6c5ef733 #x3dff434c #x04f51746)
  (fftw_codelet_n1fv_32_avx 0 #x31bff #x31bff #x0 #x9ec912b6 #x649eca2d #xe0097749 #xf71b6cea)
  (fftw_codelet_hc2cfdftv_20_avx 0 #x31bff #x31bff #x0 #x4f5aa6ca #x961e5ed5 #x5e89e6ae #xe599f00b)
)
)"},
    {10368, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_codelet_t1fv_12_avx 0 #x31bff #x31bff #x0 #x12d58018 #xe0aab166 #x2e883d71 #xb717ba95)
  (fftw_codelet_t1fv_3_avx 0 #x31bff #x31bff #x0 #x2b607940 #x593c2f01 #x4d2148e5 #x71d76d06)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x77b86146 #xd3d427ee #xeddcf95d #x62ee5f12)
  (fftw_codelet_r2cfII_16 2 #x31bff #x31bff #x0 #x807fefb6 #x0c42789f #x93d185ae #x1661493b)
  (fftw_codelet_n1fv_3_avx 0 #x31bff #x31bff #x0 #x0015edfc #x8dede8cf #x46225b17 #x009ec2f3)
  (fftw_codelet_t1fuv_6_avx 0 #x31bff #x31bff #x0 #xf05b6471 #x22d97bbe #x69ad66f2 #x436ce6d6)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x30c6fc7f #xeeb8f530 #x2120afa9 #x225f9e16)
  (fftw_codelet_hc2cfdftv_16_avx 0 #x31bff #x31bff #x0 #x4cf896da #x894622f0 #xec4a9dd0 #xb17447f0)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x341ba51e #x4d6fce55 #x6c3cedc4 #x780e43d5)
  (fftw_codelet_r2cf_16 2 #x31bff #x31bff #x0 #xc2a67eaf #x18e491d8 #xa7316b96 #xd2f02f1d)
)
)"},
    {11520, R"((fftw-3.3.10 fftw_wisdom #x458a31c8 #x92381c4c #x4f974889 #xcd46f97e
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #xde411dfd #xff2b0c83 #xfc151173 #x0c76b71c)
  (fftw_codelet_hc2cfdftv_12_avx 0 #x31bff #x31bff #x0 #x5c0ead69 #x603bddcc #x6047d89e #x801de382)
  (fftw_codelet_r2cf_12 2 #x31bff #x31bff #x0 #x07e73f35 #x73d26190 #xe7d32c45 #x2a6978bb)
  (fftw_codelet_t3fv_20_avx 0 #x31bff #x31bff #x0 #x65a42de6 #x89a654c2 #x8da67b13 #xf65c16cd)
  (fftw_codelet_n1fv_12_avx 0 #x31bff #x31bff #x0 #x273b4f00 #x76de7c0c #x08d1fded #xf6db665f)
  (fftw_codelet_t2fv_4_avx 0 #x31bff #x31bff #x0 #xd527279d #xf121d009 #x84f1669d #x0ed3a5e9)
  (fftw_codelet_r2cfII_12 2 #x31bff #x31bff #x0 #xc2e89487 #xfc0c6460 #x4f805513 #x793c0f69)
  (fftw_dft_vrank_geq1_register 0 #x31bff #x31bff #x0 #x8997c4a1 #xbd44bc65 #xcb4441a5 #xb4b8e1f9)
)
)"},
  };
  return kPlans;
}

}  // namespace sfigmo
