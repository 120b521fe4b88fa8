// The rule of check.h catches each kind of fault it is there to catch,
// shown on small entry points with one fault each, judged against the
// pxBilinSample model (one output of the shape of the first input).
#include "tests/fuzz/check.h"

#include <gtest/gtest.h>

namespace {

using namespace fuzz;

const Model &bilinear() { return *findModel("pxBilinSample"); }

// A served call: one 2 x 3 point array, its companion and a 4 x 4 image.
Call servedCall() {
    Call call;
    call.add(numeric({2, 3})).add(numeric({2, 3})).add(numeric({4, 4}));
    return call;
}

bool countsPass(int nlhs, int nrhs) { return nrhs >= 3 && nlhs == 1; }

void sound(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 3) mexErrMsgTxt("At least three inputs required.");
    if (nlhs != 1) mexErrMsgTxt("Only one output required.");
    plhs[0] = mxCreateDoubleMatrix(mxGetM(prhs[0]), mxGetN(prhs[0]), mxREAL);
}

void wrongShape(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (!countsPass(nlhs, nrhs)) mexErrMsgTxt("At least three inputs required.");
    plhs[0] = mxCreateDoubleMatrix(mxGetNumberOfElements(prhs[0]), 1, mxREAL);
}

void writesInput(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    sound(nlhs, plhs, nrhs, prhs);
    mxGetPr(prhs[2])[0] = 1.0;
}

void refusesAll(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    sound(nlhs, plhs, nrhs, prhs);
    mexErrMsgIdAndTxt("pxBilinSample:notServed", "The image is too small.");
}

void refusesWithoutIdentifier(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    sound(nlhs, plhs, nrhs, prhs);
    mexErrMsgTxt("Bad image.");
}

void wrongCountText(int, mxArray *[], int, const mxArray *[]) { mexErrMsgTxt("Only one output required"); }

void acceptsNoOutput(int, mxArray *plhs[], int, const mxArray *prhs[]) {
    plhs[0] = mxCreateDoubleMatrix(mxGetM(prhs[0]), mxGetN(prhs[0]), mxREAL);
}

void singleOutput(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    sound(nlhs, plhs, nrhs, prhs);
    mxDestroyArray(plhs[0]);
    plhs[0] = mxCreateNumericMatrix(mxGetM(prhs[0]), mxGetN(prhs[0]), mxSINGLE_CLASS, mxREAL);
}

void printsAndKeepsScratch(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    sound(nlhs, plhs, nrhs, prhs);
    mexPrintf("debug\n");
}

std::string fault(mexhost::MexEntry entry, const Call &call, bool served = true) {
    return checkCall(bilinear(), entry, call, served).fault;
}

TEST(Checker, PassesASoundEntryPoint) {
    EXPECT_EQ(fault(sound, servedCall()), "");
    Call noOutput = servedCall();
    noOutput.nlhs = 0;
    EXPECT_EQ(fault(sound, noOutput), "");
}

TEST(Checker, FlagsEachKindOfFault) {
    EXPECT_NE(fault(wrongShape, servedCall()).find("documented 2x3"), std::string::npos);
    EXPECT_NE(fault(writesInput, servedCall()).find("changed input 3"), std::string::npos);
    EXPECT_NE(fault(singleOutput, servedCall()).find("not a real double"), std::string::npos);
    EXPECT_NE(fault(printsAndKeepsScratch, servedCall()).find("printed"), std::string::npos);
    EXPECT_NE(fault(refusesWithoutIdentifier, servedCall(), false).find("identifier"), std::string::npos);

    Call noOutput = servedCall();
    noOutput.nlhs = 0;
    EXPECT_NE(fault(acceptsNoOutput, noOutput).find("accepted a call its count checks refuse"), std::string::npos);
    EXPECT_NE(fault(wrongCountText, noOutput).find("documented \"Only one output required.\""), std::string::npos);
}

TEST(Checker, RefusalsAreFaultsOnlyForServedCalls) {
    EXPECT_NE(fault(refusesAll, servedCall(), true).find("serves"), std::string::npos);
    EXPECT_EQ(fault(refusesAll, servedCall(), false), "");
}

}  // namespace
