// Every picture filter on a 2049 x 2049 picture, beside a plain copy of the
// picture (the memory-bandwidth floor) and, where OpenCV is installed, its
// routine for the same operation on the same picture (single thread).

#include "bench/BenchPictures.h"
#include "picfilter/mFilterG.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

#ifdef KV_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kSide = 2049;

// A picture with smooth areas, edges and noise, the same in every run.
const QImage& masterPicture()
{
    static const QImage img = benchpictures::filterPicture(kSide);
    return img;
}

void restore(QImage& target)
{
    const QImage& master = masterPicture();
    std::memcpy(target.bits(), master.constBits(), static_cast<size_t>(master.sizeInBytes()));
}

void setBytes(benchmark::State& state)
{
    state.SetBytesProcessed(state.iterations() * masterPicture().sizeInBytes());
}

void BM_PlainCopy(benchmark::State& state)
{
    QImage target = masterPicture().copy();
    for (auto _ : state) {
        std::memcpy(target.bits(), masterPicture().constBits(), static_cast<size_t>(target.sizeInBytes()));
        benchmark::ClobberMemory();
    }
    setBytes(state);
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);

void BM_Filter(benchmark::State& state, int32_t filter, int32_t param)
{
    QImage target = masterPicture().copy();
    for (auto _ : state) {
        state.PauseTiming();
        restore(target);
        state.ResumeTiming();
        int32_t progress = 0;
        mFilterG::ApplyPictureFilter(filter, target, param, progress);
        benchmark::DoNotOptimize(progress);
    }
    setBytes(state);
}

#define KV_FILTER_BENCH(number, name, param) \
    BENCHMARK_CAPTURE(BM_Filter, number##_##name, number, param)->Unit(benchmark::kMillisecond)

KV_FILTER_BENCH(1, Sharpen, 5);
KV_FILTER_BENCH(2, Invert, 0);
KV_FILTER_BENCH(3, Blur, 0);
KV_FILTER_BENCH(4, Diffuse, 10);
KV_FILTER_BENCH(5, Smooth, 0);
KV_FILTER_BENCH(6, SharpenSoft, 5);
KV_FILTER_BENCH(7, Contour, 5);
KV_FILTER_BENCH(8, EmbossDiagonalInverse, 0x202020);
KV_FILTER_BENCH(9, EmbossWest, 0x202020);
KV_FILTER_BENCH(10, EmbossDiagonal, 0x202020);
KV_FILTER_BENCH(11, EmbossEast, 0x202020);
KV_FILTER_BENCH(12, Greyscale, 0);
KV_FILTER_BENCH(13, EmbossSobel, 0);
KV_FILTER_BENCH(14, Brightness, 30);
KV_FILTER_BENCH(15, Mosaic, 8);
KV_FILTER_BENCH(16, SwapChannels, 1);
KV_FILTER_BENCH(17, Contrast, 100);
KV_FILTER_BENCH(18, ColourThreshold, 0x808080);
KV_FILTER_BENCH(19, DitherCarry, 0);
KV_FILTER_BENCH(20, DitherOrdered, 0);
KV_FILTER_BENCH(21, DitherFloydSteinberg, 10);
KV_FILTER_BENCH(22, DitherBurkes, 10);
KV_FILTER_BENCH(23, DitherStucki, 10);
KV_FILTER_BENCH(24, Aqua, 2);
KV_FILTER_BENCH(25, Dilate, 3);
KV_FILTER_BENCH(26, Erode, 3);
KV_FILTER_BENCH(27, InnerEdge, 0);
KV_FILTER_BENCH(28, AutoLevels, 0);
KV_FILTER_BENCH(29, Noise, 13);
KV_FILTER_BENCH(30, Saturation, 50);
KV_FILTER_BENCH(31, Gamma, 200);
KV_FILTER_BENCH(32, MaskThreshold, 5);

#ifdef KV_HAVE_OPENCV

// The reference routines run on one thread, as the filters do.
template <class Op>
void runOpenCv(benchmark::State& state, Op op)
{
    cv::setNumThreads(1);
    const QImage& master = masterPicture();
    const cv::Mat src(kSide, kSide, CV_8UC4, const_cast<uchar*>(master.constBits()),
                      static_cast<size_t>(master.bytesPerLine()));
    cv::Mat dst(kSide, kSide, CV_8UC4);
    for (auto _ : state) {
        op(src, dst);
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

void BM_OpenCV_BitwiseNot(benchmark::State& state)
{
    runOpenCv(state, [](const cv::Mat& s, cv::Mat& d) { cv::bitwise_not(s, d); });
}
BENCHMARK(BM_OpenCV_BitwiseNot)->Unit(benchmark::kMillisecond);

void BM_OpenCV_Dilate3x3(benchmark::State& state)
{
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::dilate(s, d, kernel); });
}
BENCHMARK(BM_OpenCV_Dilate3x3)->Unit(benchmark::kMillisecond);

void BM_OpenCV_Erode3x3(benchmark::State& state)
{
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::erode(s, d, kernel); });
}
BENCHMARK(BM_OpenCV_Erode3x3)->Unit(benchmark::kMillisecond);

void BM_OpenCV_LutBrightness(benchmark::State& state)
{
    cv::Mat lut(1, 256, CV_8U);
    for (int i = 0; i < 256; ++i) lut.at<uchar>(i) = cv::saturate_cast<uchar>(i * 1.3);
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::LUT(s, lut, d); });
}
BENCHMARK(BM_OpenCV_LutBrightness)->Unit(benchmark::kMillisecond);

void BM_OpenCV_LutGamma(benchmark::State& state)
{
    cv::Mat lut(1, 256, CV_8U);
    for (int i = 0; i < 256; ++i) lut.at<uchar>(i) = cv::saturate_cast<uchar>(255.0 * std::pow(i / 255.0, 0.5));
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::LUT(s, lut, d); });
}
BENCHMARK(BM_OpenCV_LutGamma)->Unit(benchmark::kMillisecond);

void BM_OpenCV_Filter2D_Sharpen3x3(benchmark::State& state)
{
    const cv::Mat kernel = (cv::Mat_<float>(3, 3) << -2, -2, -2, -2, 29, -2, -2, -2, -2) / 13.0f;
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::filter2D(s, d, -1, kernel); });
}
BENCHMARK(BM_OpenCV_Filter2D_Sharpen3x3)->Unit(benchmark::kMillisecond);

void BM_OpenCV_Filter2D_Laplacian3x3(benchmark::State& state)
{
    const cv::Mat kernel = (cv::Mat_<float>(3, 3) << -1, -1, -1, -1, 8, -1, -1, -1, -1);
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::filter2D(s, d, -1, kernel, {-1, -1}, 5); });
}
BENCHMARK(BM_OpenCV_Filter2D_Laplacian3x3)->Unit(benchmark::kMillisecond);

void BM_OpenCV_Filter2D_Mean8_3x3(benchmark::State& state)
{
    const cv::Mat kernel = (cv::Mat_<float>(3, 3) << 1, 1, 1, 1, 0, 1, 1, 1, 1) / 8.0f;
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::filter2D(s, d, -1, kernel); });
}
BENCHMARK(BM_OpenCV_Filter2D_Mean8_3x3)->Unit(benchmark::kMillisecond);

void BM_OpenCV_Filter2D_Emboss3x3(benchmark::State& state)
{
    const cv::Mat kernel = (cv::Mat_<float>(3, 3) << 1, 0, -1, 1, 0, -1, 1, 0, -1);
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat& d) { cv::filter2D(s, d, -1, kernel, {-1, -1}, 32); });
}
BENCHMARK(BM_OpenCV_Filter2D_Emboss3x3)->Unit(benchmark::kMillisecond);

void BM_OpenCV_CvtGrey(benchmark::State& state)
{
    cv::Mat grey(kSide, kSide, CV_8UC1);
    runOpenCv(state, [&](const cv::Mat& s, cv::Mat&) { cv::cvtColor(s, grey, cv::COLOR_BGRA2GRAY); });
}
BENCHMARK(BM_OpenCV_CvtGrey)->Unit(benchmark::kMillisecond);

#endif

} // namespace
