// Constants that the operators' geometry shares.
#ifndef QUORVEX_STANDINS_HALCON_NUMBERS_H
#define QUORVEX_STANDINS_HALCON_NUMBERS_H

namespace HalconCpp {
namespace Standin {

inline constexpr double kPi = 3.14159265358979323846;

}  // namespace Standin
}  // namespace HalconCpp

#endif
