// Filter operators a program line can call: smoothing, edges, texture, points and grey-value
// scaling. Each calls the image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kFilterOperators[] = {
    bind<&H::MeanImage>("mean_image"),
    bind<&H::MedianImage>("median_image"),
    bind<&H::GaussImage>("gauss_image"),
    bind<&H::Emphasize>("emphasize"),
    bind<&H::SobelAmp>("sobel_amp"),
    bind<&H::SmoothImage>("smooth_image"),
    bind<&H::BinomialFilter>("binomial_filter"),
    bind<&H::ScaleImageMax>("scale_image_max"),
    bind<&H::MultImage>("mult_image"),
    bind<&H::TextureLaws>("texture_laws"),
    bind<&H::DotsImage>("dots_image"),
    bind<&H::TransFromRgb>("trans_from_rgb"),
    bind<&H::TransToRgb>("trans_to_rgb"),
    bind<&H::LinearTransColor>("linear_trans_color"),
    bind<&H::CfaToRgb>("cfa_to_rgb"),
    bind<&H::CreateColorTransLut>("create_color_trans_lut"),
    bind<&H::ApplyColorTransLut>("apply_color_trans_lut"),
    bind<&H::ClearColorTransLut>("clear_color_trans_lut"),
    bind<&H::ClearAllColorTransLuts>("clear_all_color_trans_luts"),
    bind<&H::FillInterlace>("fill_interlace"),
    bind<&H::ExpandDomainGray>("expand_domain_gray"),
    bind<&H::GrayInside>("gray_inside"),
    bind<&H::Symmetry>("symmetry"),
    bind<&H::SobelDir>("sobel_dir"),
    bind<&H::HighpassImage>("highpass_image"),
    // The frequency domain (halconcpp/HOperatorsFft.h).
    bind<&H::GenGaussFilter>("gen_gauss_filter"),
    bind<&H::ConvolFft>("convol_fft"),
    bind<&H::CorrelationFft>("correlation_fft"),
    bind<&H::RftGeneric>("rft_generic"),
    bind<&H::OptimizeRftSpeed>("optimize_rft_speed"),
    bind<&H::FftGeneric>("fft_generic"),
    bind<&H::FftImage>("fft_image"),
    bind<&H::FftImageInv>("fft_image_inv"),
    bind<&H::OptimizeFftSpeed>("optimize_fft_speed"),
    bind<&H::RealToComplex>("real_to_complex"),
    bind<&H::ComplexToReal>("complex_to_real"),
    bind<&H::PowerReal>("power_real"),
    bind<&H::PowerByte>("power_byte"),
    bind<&H::PhaseRad>("phase_rad"),
    bind<&H::PhaseDeg>("phase_deg"),
    bind<&H::PowerLn>("power_ln"),
    bind<&H::EnergyGabor>("energy_gabor"),
    bind<&H::GenLowpass>("gen_lowpass"),
    bind<&H::GenHighpass>("gen_highpass"),
    bind<&H::GenBandpass>("gen_bandpass"),
    bind<&H::GenBandfilter>("gen_bandfilter"),
    bind<&H::GenSinBandpass>("gen_sin_bandpass"),
    bind<&H::GenStdBandpass>("gen_std_bandpass"),
    bind<&H::GenMeanFilter>("gen_mean_filter"),
    bind<&H::GenDerivativeFilter>("gen_derivative_filter"),
    bind<&H::ReadFftOptimizationData>("read_fft_optimization_data"),
    bind<&H::WriteFftOptimizationData>("write_fft_optimization_data"),
    bind<&H::DerivateGauss>("derivate_gauss"),
    bind<&H::LaplaceOfGauss>("laplace_of_gauss"),
    bind<&H::DiffOfGauss>("diff_of_gauss"),
    bind<&H::Laplace>("laplace"),
    bind<&H::ZeroCrossing>("zero_crossing"),
    bind<&H::EdgesImage>("edges_image"),
    // Pixel arithmetic, bits, tables and the fixed edge masks (halconcpp/HOperatorsPixels.h).
    bind<&H::DivImage>("div_image"),
    bind<&H::SqrtImage>("sqrt_image"),
    bind<&H::LogImage>("log_image"),
    bind<&H::ExpImage>("exp_image"),
    bind<&H::PowImage>("pow_image"),
    bind<&H::DeviationN>("deviation_n"),
    bind<&H::Illuminate>("illuminate"),
    bind<&H::BitAnd>("bit_and"),
    bind<&H::BitOr>("bit_or"),
    bind<&H::BitXor>("bit_xor"),
    bind<&H::BitNot>("bit_not"),
    bind<&H::BitLshift>("bit_lshift"),
    bind<&H::BitRshift>("bit_rshift"),
    bind<&H::BitMask>("bit_mask"),
    bind<&H::BitSlice>("bit_slice"),
    bind<&H::LutTrans>("lut_trans"),
    bind<&H::EquHistoImage>("equ_histo_image"),
    bind<&H::MidrangeImage>("midrange_image"),
    bind<&H::ConvolImage>("convol_image"),
    bind<&H::DeviationImage>("deviation_image"),
    bind<&H::EntropyImage>("entropy_image"),
    bind<&H::Roberts>("roberts"),
    bind<&H::PrewittAmp>("prewitt_amp"),
    bind<&H::PrewittDir>("prewitt_dir"),
    bind<&H::KirschAmp>("kirsch_amp"),
    bind<&H::KirschDir>("kirsch_dir"),
    bind<&H::FreiAmp>("frei_amp"),
    bind<&H::FreiDir>("frei_dir"),
    bind<&H::RobinsonAmp>("robinson_amp"),
    bind<&H::RobinsonDir>("robinson_dir"),
    bind<&H::NonmaxSuppressionAmp>("nonmax_suppression_amp"),
    bind<&H::NonmaxSuppressionDir>("nonmax_suppression_dir"),
};

}  // namespace

OperatorGroup filterOperators() {
  return {kFilterOperators, sizeof kFilterOperators / sizeof kFilterOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
